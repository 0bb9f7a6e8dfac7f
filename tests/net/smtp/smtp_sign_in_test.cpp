#include "smtp_test_support.h"

#include <QHostInfo>
#include <gtest/gtest.h>
#include <memory>

namespace statvane::test {
namespace {

using Commands = std::vector<QByteArray>;
using Failure = TSmtpSignInFailure;

const QByteArray ehlo = "EHLO " + QHostInfo::localHostName().toLatin1();
const QByteArray authPlain = "AUTH PLAIN AHVzZXIAaHVudGVyMg=="; // user, hunter2
const QByteArray userName64 = "dXNlcg==";
const QByteArray password64 = "aHVudGVyMg==";
const Commands mailCommands = {"MAIL FROM:<sender@example.test>", "RCPT TO:<a@example.test>",
                               "DATA", "QUIT"};

Commands operator+(Commands first, const Commands& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

void fillMail(TSmtpCli& client, TSmtpSecurity security) {
    client.Security = security;
    client.UserName = "user";
    client.Password = "hunter2";
    client.FromName = "sender@example.test";
    client.RcptName = {"a@example.test"};
}

struct SignInCase {
    const char* name;
    TSmtpSecurity security;
    std::map<QByteArray, QByteArray> replies;
    std::vector<Completion> completions;
    Commands commands;
    Failure failure;
    const char* reason;
};

class SignIn : public ::testing::TestWithParam<SignInCase> {};

// Against a server in clear: the login and what ends the sign-in. The
// password is never shown, whatever the mechanism.
TEST_P(SignIn, FollowsTheOfferOfTheServer) {
    const SignInCase& expected = GetParam();
    FakeSmtpServer server(expected.replies);
    TSmtpCli client;
    pointAt(client, server.port());
    fillMail(client, expected.security);
    std::string shown;
    client.OnDisplay = [&](const std::string& line) { shown += line + "\n"; };
    client.OnCommand = [&](const std::string& command) { shown += command + "\n"; };
    MailDialogue dialogue(client);

    ASSERT_TRUE(dialogue.run());

    EXPECT_EQ(dialogue.completions, expected.completions);
    EXPECT_EQ(server.commands(), expected.commands);
    EXPECT_EQ(dialogue.signInFailure, expected.failure);
    EXPECT_EQ(dialogue.signInFailureReason, expected.reason);
    for (const QByteArray& secret : {QByteArray("hunter2"), authPlain, password64})
        EXPECT_EQ(shown.find(secret.toStdString()), std::string::npos) << shown;
}

const std::map<QByteArray, QByteArray> loginSteps = {
    {"AUTH", "334 VXNlcm5hbWU6"}, {userName64, "334 UGFzc3dvcmQ6"}, {password64, "235 welcome"}};

std::map<QByteArray, QByteArray> with(std::map<QByteArray, QByteArray> replies,
                                      const std::map<QByteArray, QByteArray>& more) {
    replies.insert(more.begin(), more.end());
    return replies;
}

INSTANTIATE_TEST_SUITE_P(
    Smtp, SignIn,
    ::testing::Values(
        SignInCase{"PlainPreferred",
                   smtpNoSecurity,
                   {{"EHLO", "250-fake.test\r\n250-AUTH LOGIN PLAIN\r\n250 HELP"},
                    {"AUTH", "235 welcome"}},
                   {{smtpConnect, 0}, {smtpSignIn, 0}, {smtpMail, 0}, {smtpQuit, 0}},
                   Commands{ehlo, authPlain} + mailCommands,
                   Failure::none,
                   ""},
        SignInCase{"LoginWhenOnlyItIsOffered",
                   smtpNoSecurity,
                   with({{"EHLO", "250-fake.test\r\n250 AUTH=LOGIN"}}, loginSteps),
                   {{smtpConnect, 0}, {smtpSignIn, 0}, {smtpMail, 0}, {smtpQuit, 0}},
                   Commands{ehlo, "AUTH LOGIN", userName64, password64} + mailCommands,
                   Failure::none,
                   ""},
        SignInCase{"PlainRefused",
                   smtpNoSecurity,
                   {{"EHLO", "250-fake.test\r\n250 AUTH PLAIN"}, {"AUTH", "535 5.7.8 no"}},
                   {{smtpConnect, 0}, {smtpSignIn, 535}, {smtpQuit, 0}},
                   {ehlo, authPlain, "QUIT"},
                   Failure::loginRefused,
                   "535 5.7.8 no"},
        SignInCase{
            "LoginPasswordRefused",
            smtpNoSecurity,
            with({{"EHLO", "250-fake.test\r\n250 AUTH LOGIN"}, {password64, "535 no"}}, loginSteps),
            {{smtpConnect, 0}, {smtpSignIn, 535}, {smtpQuit, 0}},
            {ehlo, "AUTH LOGIN", userName64, password64, "QUIT"},
            Failure::loginRefused,
            "535 no"},
        SignInCase{"NoUsableLogin",
                   smtpNoSecurity,
                   {{"EHLO", "250-fake.test\r\n250 AUTH CRAM-MD5"}},
                   {{smtpConnect, 0}, {smtpSignIn, 500}, {smtpQuit, 0}},
                   {ehlo, "QUIT"},
                   Failure::loginNotOffered,
                   ""},
        SignInCase{"EhloRefused",
                   smtpNoSecurity,
                   {{"EHLO", "502 HELO only"}},
                   {{smtpConnect, 0}, {smtpSignIn, 500}, {smtpQuit, 0}},
                   {ehlo, "QUIT"},
                   Failure::loginNotOffered,
                   ""},
        // Nothing more goes over the connection, not even QUIT.
        SignInCase{"StartTlsNotOffered",
                   smtpStartTls,
                   {{"EHLO", "250-fake.test\r\n250 AUTH PLAIN"}},
                   {{smtpConnect, 0}, {smtpSignIn, 500}, {smtpQuit, 0}},
                   {ehlo},
                   Failure::startTlsNotOffered,
                   ""},
        SignInCase{"StartTlsRefused",
                   smtpStartTls,
                   {{"EHLO", "250-fake.test\r\n250 STARTTLS"}, {"STARTTLS", "454 not now"}},
                   {{smtpConnect, 0}, {smtpSignIn, 454}, {smtpQuit, 0}},
                   {ehlo, "STARTTLS"},
                   Failure::secureConnectionFailed,
                   "454 not now"}),
    [](const auto& info) { return std::string(info.param.name); });

// A server that offers and accepts STARTTLS, then answers the client's first
// TLS bytes as the test says.
class BrokenStartTls {
  public:
    explicit BrokenStartTls(std::function<void(QTcpSocket&)> onHandshake)
        : server_([onHandshake](QTcpSocket& connection, ScriptedServer&) {
              connection.write("220 fake.test\r\n");
              auto upgrading = std::make_shared<bool>(false);
              QObject::connect(&connection, &QTcpSocket::readyRead, &connection,
                               [&connection, upgrading, onHandshake] {
                                   if (*upgrading) {
                                       onHandshake(connection);
                                       return;
                                   }
                                   const QByteArray line = connection.readLine();
                                   *upgrading = line == "STARTTLS\r\n";
                                   connection.write(*upgrading
                                                        ? "220 go ahead\r\n"
                                                        : "250-fake.test\r\n250 STARTTLS\r\n");
                               });
          }) {}
    ScriptedServer& server() { return server_; }

  private:
    ScriptedServer server_;
};

TEST(SmtpStartTls, HandshakeThatBreaksEndsTheSessionWithoutAnotherCommand) {
    const std::pair<const char*, std::function<void(QTcpSocket&)>> cases[] = {
        {"garbage", [](QTcpSocket& c) { c.write("this is not TLS at all\r\n"); }},
        {"dropped", [](QTcpSocket& c) { c.abort(); }},
    };
    for (const auto& [name, onHandshake] : cases) {
        SCOPED_TRACE(name);
        BrokenStartTls peer(onHandshake);
        TSmtpCli client;
        pointAt(client, peer.server().port());
        fillMail(client, smtpStartTls);
        MailDialogue dialogue(client);

        ASSERT_TRUE(dialogue.run());

        EXPECT_EQ(dialogue.completions,
                  (std::vector<Completion>{{smtpConnect, 0}, {smtpSignIn, 10004}, {smtpQuit, 0}}));
        EXPECT_EQ(dialogue.signInFailure, Failure::secureConnectionFailed);
        EXPECT_FALSE(dialogue.signInFailureReason.empty());
        const QByteArray received = peer.server().received();
        EXPECT_TRUE(received.startsWith(ehlo + "\r\nSTARTTLS\r\n"))
            << received.left(40).toStdString();
        for (const char* clear : {"AUTH", "MAIL", "QUIT", "EHLO", "aHVudGVyMg"})
            EXPECT_EQ(received.mid(ehlo.size()).indexOf(clear), -1) << clear;
    }
}

} // namespace
} // namespace statvane::test
