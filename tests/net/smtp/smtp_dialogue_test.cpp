#include "peers/peer_process.h"
#include "smtp_test_support.h"

#include <QHostInfo>
#include <gtest/gtest.h>

namespace statvane::test {
namespace {

const QByteArray helo = "HELO " + QHostInfo::localHostName().toLatin1();
const QByteArray mailFrom = "MAIL FROM:<sender@example.test>";
const QByteArray rcptA = "RCPT TO:<a@example.test>";
const QByteArray rcptB = "RCPT TO:<b@example.test>";
const QByteArray rcptC = "RCPT TO:<c@example.test>";

void fillEnvelope(TSmtpCli& client) {
    client.FromName = " sender@example.test ";
    client.RcptName = {"a@example.test", "\tb@example.test", "c@example.test "};
}

struct DialogueCase {
    const char* name;
    std::map<QByteArray, QByteArray> replies;
    std::vector<Completion> completions;
    std::vector<QByteArray> commands;
    bool messageSent;
    const char* mailErrorMessage;
};

class Dialogue : public ::testing::TestWithParam<DialogueCase> {};

// The whole delivery as the report mailer drives it, against the server's
// replies in each case. The local host name stands in the HELO when SignOn
// is empty.
TEST_P(Dialogue, FollowsTheRepliesOfTheServer) {
    const DialogueCase& expected = GetParam();
    FakeSmtpServer server(expected.replies);
    TSmtpCli client;
    pointAt(client, server.port());
    fillEnvelope(client);
    MailDialogue dialogue(client);

    ASSERT_TRUE(dialogue.run());

    EXPECT_EQ(dialogue.completions, expected.completions);
    EXPECT_EQ(dialogue.refusal, "");
    EXPECT_EQ(server.commands(), expected.commands);
    EXPECT_EQ(server.messageEnded(), expected.messageSent);
    EXPECT_EQ(server.messageLines().empty(), !expected.messageSent);
    EXPECT_EQ(dialogue.mailErrorMessage, expected.mailErrorMessage);
}

INSTANTIATE_TEST_SUITE_P(
    Smtp, Dialogue,
    ::testing::Values(
        DialogueCase{"AllAccepted",
                     {},
                     {{smtpConnect, 0}, {smtpHelo, 0}, {smtpMail, 0}, {smtpQuit, 0}},
                     {helo, mailFrom, rcptA, rcptB, rcptC, "DATA", "QUIT"},
                     true,
                     ""},
        DialogueCase{"MiddleRecipientRefused",
                     {{rcptB, "550 no such user"}},
                     {{smtpConnect, 0}, {smtpHelo, 0}, {smtpMail, 0}, {smtpQuit, 0}},
                     {helo, mailFrom, rcptA, rcptB, rcptC, "DATA", "QUIT"},
                     true,
                     "550 no such user"},
        DialogueCase{"LastRecipientRefused",
                     {{rcptC, "550 no such user"}},
                     {{smtpConnect, 0}, {smtpHelo, 0}, {smtpMail, 550}, {smtpQuit, 0}},
                     {helo, mailFrom, rcptA, rcptB, rcptC, "QUIT"},
                     false,
                     "550 no such user"},
        DialogueCase{"DataRefused",
                     {{"DATA", "451 try later"}},
                     {{smtpConnect, 0}, {smtpHelo, 0}, {smtpMail, 451}, {smtpQuit, 0}},
                     {helo, mailFrom, rcptA, rcptB, rcptC, "DATA", "QUIT"},
                     false,
                     "451 try later"},
        DialogueCase{"SenderRefusedThenOnlyQuit",
                     {{"MAIL", "550 sender refused"}},
                     {{smtpConnect, 0}, {smtpHelo, 0}, {smtpMail, 550}, {smtpQuit, 0}},
                     {helo, mailFrom, "QUIT"},
                     false,
                     "550 sender refused"},
        DialogueCase{"MessageRefused",
                     {{".", "554 message rejected"}},
                     {{smtpConnect, 0}, {smtpHelo, 0}, {smtpMail, 554}, {smtpQuit, 0}},
                     {helo, mailFrom, rcptA, rcptB, rcptC, "DATA", "QUIT"},
                     true,
                     "554 message rejected"},
        DialogueCase{"ReplyWithoutNumberIsAFailure",
                     {{"MAIL", "sure, whatever"}},
                     {{smtpConnect, 0}, {smtpHelo, 0}, {smtpMail, 500}, {smtpQuit, 0}},
                     {helo, mailFrom, "QUIT"},
                     false,
                     "sure, whatever"},
        DialogueCase{"ConnectionDroppedDuringMail",
                     {{rcptB, FakeSmtpServer::dropReply}},
                     {{smtpConnect, 0}, {smtpHelo, 0}, {smtpMail, 10004}, {smtpQuit, 0}},
                     {helo, mailFrom, rcptA, rcptB},
                     false,
                     ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SmtpConnect, WaitsForTheLastLineOfAContinuedGreeting) {
    FakeSmtpServer server({}, "220-fake.test first line\r\n");
    TSmtpCli client;
    pointAt(client, server.port());
    std::vector<Completion> completions;
    std::string lastResponseAtCompletion;
    client.OnRequestDone = [&](TSmtpRequest request, std::uint16_t error) {
        completions.push_back({request, error});
        if (request == smtpConnect)
            lastResponseAtCompletion = client.LastResponse();
    };
    // The second greeting line is sent only once the first has been read.
    client.OnResponse = [&](const std::string& line) {
        if (line == "220-fake.test first line")
            server.send("220 fake.test second line\r\n");
    };

    client.Connect();
    ASSERT_TRUE(waitFor([&] { return !completions.empty(); }));
    client.Quit();
    ASSERT_TRUE(waitFor([&] { return completions.size() == 2; }));

    EXPECT_EQ(completions, (std::vector<Completion>{{smtpConnect, 0}, {smtpQuit, 0}}));
    EXPECT_EQ(lastResponseAtCompletion, "220 fake.test second line");
}

TEST(SmtpConnect, RefusingGreetingClosesTheConnection) {
    FakeSmtpServer server({}, "554 no service for you\r\n");
    TSmtpCli client;
    pointAt(client, server.port());
    MailDialogue dialogue(client);

    ASSERT_TRUE(dialogue.run());

    EXPECT_EQ(dialogue.completions, (std::vector<Completion>{{smtpConnect, 10004}}));
    EXPECT_EQ(dialogue.refusal, "SMTP component not connected");
    EXPECT_EQ(client.ErrorMessage(), "554 no service for you");
    EXPECT_EQ(client.ReplyCode(), 554);
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.State(), smtpReady);
    EXPECT_TRUE(server.commands().empty());
}

TEST(SmtpConnect, RefusedConnectionReportsTheSocketError) {
    const quint16 port = freeLoopbackPort();
    ASSERT_NE(port, 0);
    TSmtpCli client;
    pointAt(client, port);
    MailDialogue dialogue(client);

    ASSERT_TRUE(dialogue.run());

    EXPECT_EQ(dialogue.completions, (std::vector<Completion>{{smtpConnect, 10061}}));
    EXPECT_EQ(dialogue.refusal, "SMTP component not connected");
    EXPECT_EQ(client.ErrorMessage(), "500 Connection refused (Winsock error #10061)");
    EXPECT_EQ(client.LastResponse(), client.ErrorMessage());
    EXPECT_EQ(client.ReplyCode(), 500);
    EXPECT_EQ(client.State(), smtpReady);
}

// A client used again reports the failure of the new request, not the text
// left from the one before.
TEST(SmtpConnect, ErrorMessageBelongsToTheRequest) {
    const quint16 closedPort = freeLoopbackPort();
    FakeSmtpServer refusing({}, "554 no service for you\r\n");
    TSmtpCli client;
    CompletionLog log(client);

    pointAt(client, closedPort);
    client.Connect();
    ASSERT_TRUE(log.waitForCount(1));
    ASSERT_EQ(client.ErrorMessage(), "500 Connection refused (Winsock error #10061)");
    pointAt(client, refusing.port());
    client.Connect();
    ASSERT_TRUE(log.waitForCount(2));

    EXPECT_EQ(log.items(), (std::vector<Completion>{{smtpConnect, 10061}, {smtpConnect, 10004}}));
    EXPECT_EQ(client.ErrorMessage(), "554 no service for you");
}

// A reply line longer than the receive buffer is cut; the lines after it are
// read as they came, so the dialogue goes on in step.
TEST(SmtpConnect, OverlongReplyLineIsCutAndTheDialogueGoesOn) {
    const QByteArray longGreeting = "220 " + QByteArray(9000, 'x');
    FakeSmtpServer server({}, longGreeting + "\r\n");
    TSmtpCli client;
    pointAt(client, server.port());
    fillEnvelope(client);
    MailDialogue dialogue(client);

    ASSERT_TRUE(dialogue.run());

    EXPECT_EQ(dialogue.connectLastResponse, longGreeting.left(4095).toStdString());
    EXPECT_EQ(
        dialogue.completions,
        (std::vector<Completion>{{smtpConnect, 0}, {smtpHelo, 0}, {smtpMail, 0}, {smtpQuit, 0}}));
    EXPECT_TRUE(server.messageEnded());
}

// Abort drops the connection under a request that would never end, and the
// request completes.
TEST(SmtpAbort, EndsARequestTheServerNeverAnswers) {
    FakeSmtpServer server({{"DATA", QByteArray()}});
    TSmtpCli client;
    pointAt(client, server.port());
    fillEnvelope(client);
    CompletionLog log(client);
    int sessionsClosed = 0;
    client.OnSessionClosed = [&] { ++sessionsClosed; };

    client.Connect();
    ASSERT_TRUE(log.waitForCount(1));
    client.Mail();
    ASSERT_TRUE(waitFor([&] { return server.commands().size() == 5; }));
    client.Abort();
    EXPECT_TRUE(log.items().size() == 1) << "completion must not come from inside Abort";
    ASSERT_TRUE(log.waitForCount(2));

    EXPECT_EQ(log.items(), (std::vector<Completion>{{smtpConnect, 0}, {smtpMail, 10004}}));
    EXPECT_EQ(sessionsClosed, 1);
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.State(), smtpReady);
}

// What the look-up brings after Abort must not start a connection that mixes
// with the next request.
TEST(SmtpAbort, LookUpResultAfterAbortIsIgnored) {
    FakeSmtpServer server;
    TSmtpCli client;
    pointAt(client, server.port());
    CompletionLog log(client);

    client.Connect();
    ASSERT_EQ(client.State(), smtpDnsLookup);
    client.Abort();
    ASSERT_TRUE(log.waitForCount(1));
    client.Connect();
    ASSERT_TRUE(log.waitForCount(2));
    client.Quit();
    ASSERT_TRUE(log.waitForCount(3));

    EXPECT_EQ(log.items(),
              (std::vector<Completion>{{smtpConnect, 10004}, {smtpConnect, 0}, {smtpQuit, 0}}));
    EXPECT_EQ(server.commands(), std::vector<QByteArray>{"QUIT"});
}

TEST(SmtpQuit, CompletesLaterWhenNotConnected) {
    TSmtpCli client;
    CompletionLog log(client);
    client.Quit();
    EXPECT_TRUE(log.items().empty()) << "completion must be posted, not called";
    ASSERT_TRUE(log.waitForCount(1));
    EXPECT_EQ(log.items(), (std::vector<Completion>{{smtpQuit, 0}}));
}

} // namespace
} // namespace statvane::test
