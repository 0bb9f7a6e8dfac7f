#include "output/mail_delivery.h"
#include "output/recipients.h"
#include "output/sign_in_failure_message.h"
#include "peers/peer_process.h"
#include "peers/scripted_smtp.h"
#include "platform/registry.h"
#include "settings/settings_store.h"
#include "support/recording_run.h"
#include "support/temp_dir.h"

#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>

namespace statvane {
namespace {

using Strings = std::vector<std::string>;

TEST(SplitRecipients, OnlySemicolonsSeparate) {
    const std::pair<std::string_view, Strings> cases[] = {
        {"a@x.com ; b@x.com;c@x.com", {"a@x.com", "b@x.com", "c@x.com"}},
        {"a@x.com,", {"a@x.com,"}},
        {"a@x.com;", {"a@x.com", ""}},
        {"", {""}},
        {"\t a@x.com \r\n", {"a@x.com"}},
    };
    for (const auto& [text, recipients] : cases)
        EXPECT_EQ(splitRecipients(text), recipients) << text;
}

// The To: header names the recipients that RCPT TO names, in their order.
TEST(SplitRecipients, ToHeaderJoinsThemWithCommas) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"a@x.com ; b@x.com;c@x.com", "a@x.com, b@x.com, c@x.com"},
        {"a@x.com", "a@x.com"},
        {"a@x.com,", "a@x.com,"},
        {"a@x.com;; b@x.com;", "a@x.com, b@x.com"},
        {"", ""},
    };
    for (const auto& [text, header] : cases)
        EXPECT_EQ(recipientsHeader(splitRecipients(text)), header) << text;
}

class MailDeliveryTest : public ::testing::Test {
  protected:
    MailDeliveryTest() {
        test::writeFile(dir / "report.txt", "Statvane\r\n");
        settings.MailSender = "me@example.com";
        settings.MailSubject = "Weekly";
        settings.MailServer = "127.0.0.1:" + std::to_string(smtp.server.port());
        delivery.onFinished = [this](MailDelivery::Outcome result) {
            outcome = result;
            wait.quit();
        };
    }

    // Starts a delivery and waits (bounded) for its end.
    bool mail(const std::string& addresses) {
        outcome.reset();
        if (!delivery.mailReport(settings, dir / "report.txt", addresses))
            return false;
        QTimer::singleShot(10000, &wait, [this] { wait.quit(); });
        wait.exec();
        return true;
    }

    test::TempDir dir;
    test::ScriptedSmtp smtp;
    Settings settings;
    TSmtpCli client;
    test::RecordingPrompt prompt;
    bool online = true;
    MailDelivery delivery{client, prompt, [this] { return online; }};
    QEventLoop wait;
    std::optional<MailDelivery::Outcome> outcome;
};

TEST_F(MailDeliveryTest, ConnectHeloMailQuit) {
    ASSERT_TRUE(mail("a@example.com ; b@example.com"));
    EXPECT_EQ(outcome, MailDelivery::Outcome::Accepted);
    EXPECT_EQ(smtp.verbs(), (Strings{"HELO", "MAIL", "RCPT", "RCPT", "DATA", "QUIT"}));
    EXPECT_EQ(smtp.commands[1], "MAIL FROM:<me@example.com>");
    EXPECT_EQ(smtp.commands[3], "RCPT TO:<b@example.com>");
    const QString received = QString::fromLatin1(smtp.server.received());
    EXPECT_TRUE(received.contains("\r\nTo: a@example.com, b@example.com\r\n"))
        << received.toStdString();
    EXPECT_TRUE(received.contains(QRegularExpression(
        R"(\r\nDate: [^\r]+\r\nMessage-ID: <\d+\.\d+\.[0-9a-f]{16}@example\.com>\r\n)")))
        << received.toStdString();
    EXPECT_NE(smtp.server.received().indexOf("filename=\"report.txt\""), -1);
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_FALSE(delivery.busy());

    // A second delivery attaches the report once again.
    smtp.commands.clear();
    ASSERT_TRUE(mail("a@example.com"));
    EXPECT_EQ(smtp.verbs(), (Strings{"HELO", "MAIL", "RCPT", "DATA", "QUIT"}));
    EXPECT_EQ(smtp.server.received().count("filename=\"report.txt\""), 2);
}

TEST_F(MailDeliveryTest, RefusedSenderGetsQuitNextWithoutAMessage) {
    smtp.replies["MAIL"] = "550 no such sender";
    ASSERT_TRUE(mail("a@example.com"));
    EXPECT_EQ(outcome, MailDelivery::Outcome::Refused);
    EXPECT_EQ(smtp.verbs(), (Strings{"HELO", "MAIL", "QUIT"}));
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(MailDeliveryTest, RefusedHeloStillMails) {
    smtp.replies["HELO"] = "501 who are you";
    ASSERT_TRUE(mail("a@example.com;"));
    EXPECT_EQ(outcome, MailDelivery::Outcome::Accepted);
    EXPECT_EQ(smtp.commands[3], "RCPT TO:<>");
}

// The message is left for the caller to tell once the delivery has ended.
TEST_F(MailDeliveryTest, FailedConnectionEndsWithTheSettingsMessage) {
    settings.MailServer = "127.0.0.1:" + std::to_string(test::freeLoopbackPort());
    ASSERT_TRUE(mail("a@example.com"));
    EXPECT_EQ(outcome, MailDelivery::Outcome::Refused);
    EXPECT_EQ(delivery.failure(),
              "An error has occured.  Please make sure your mail settings are correct under the "
              "Settings option off the Tools menu.");
    EXPECT_TRUE(prompt.messages.empty());

    // The next delivery starts without it.
    settings.MailServer = "127.0.0.1:" + std::to_string(smtp.server.port());
    ASSERT_TRUE(mail("a@example.com"));
    EXPECT_EQ(outcome, MailDelivery::Outcome::Accepted);
    EXPECT_EQ(delivery.failure(), std::nullopt);
}

// Each reason not to start is told once, before anything goes to a server.
TEST_F(MailDeliveryTest, NothingIsSentWithoutAConnectionOrAServer) {
    const std::string server = settings.MailServer;
    const struct {
        bool online;
        std::string server;
        const char* message;
    } cases[] = {
        {false, server, kNotConnectedMessage},
        {true, "", kNoMailServerMessage},
        {true, " \t", kNoMailServerMessage},
    };
    for (const auto& c : cases) {
        prompt.messages.clear();
        online = c.online;
        settings.MailServer = c.server;
        EXPECT_FALSE(mail("a@example.com")) << c.server;
        ASSERT_EQ(prompt.messages.size(), 1u) << c.server;
        EXPECT_EQ(prompt.messages[0].first, c.message) << c.server;
        EXPECT_FALSE(delivery.busy()) << c.server;
    }
    EXPECT_EQ(smtp.server.connectionCount(), 0);
}

TEST_F(MailDeliveryTest, SecondDeliveryWhileOneRunsIsRefused) {
    ASSERT_TRUE(delivery.mailReport(settings, dir / "report.txt", "a@example.com"));
    EXPECT_FALSE(delivery.mailReport(settings, dir / "report.txt", "b@example.com"));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first, kMailBusyMessage);
    QTimer::singleShot(10000, &wait, [this] { wait.quit(); });
    wait.exec();
    EXPECT_EQ(outcome, MailDelivery::Outcome::Accepted);
    EXPECT_EQ(smtp.verbs(), (Strings{"HELO", "MAIL", "RCPT", "DATA", "QUIT"}));
}

TEST_F(MailDeliveryTest, AcceptedMessageWhoseQuitIsNeverAnsweredIsAccepted) {
    smtp.replies["QUIT"] = "";
    ASSERT_TRUE(mail("a@example.com"));
    EXPECT_EQ(outcome, MailDelivery::Outcome::Accepted);
    EXPECT_EQ(smtp.verbs(), (Strings{"HELO", "MAIL", "RCPT", "DATA", "QUIT"}));
    EXPECT_TRUE(prompt.messages.empty());

    // The client has let the silent connection go: the next delivery connects.
    smtp.replies.clear();
    ASSERT_TRUE(mail("b@example.com"));
    EXPECT_EQ(outcome, MailDelivery::Outcome::Accepted);
    EXPECT_EQ(smtp.server.connectionCount(), 2);
}

// A server that accepts the connection and never speaks (in plain, or in the
// TLS handshake), or falls silent in the middle, holds the delivery only for
// the time limit; the next delivery then starts and is taken.
TEST_F(MailDeliveryTest, ADeliveryThatRunsOutOfTimeEndsAndFreesTheClient) {
    const test::ScopedEnv timeLimit("STATVANE_MAIL_TIMEOUT", "1");
    test::ScriptedServer silent([](QTcpSocket&, test::ScriptedServer&) {});
    const std::string silentServer = "127.0.0.1:" + std::to_string(silent.port());
    const std::string talkingServer = settings.MailServer;
    const struct {
        std::string server;
        const char* security;
        const char* unanswered;
    } cases[] = {
        {silentServer, "None", ""},
        {silentServer, "TLS", ""},
        {talkingServer, "None", "RCPT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.security + std::string(" ") + c.unanswered);
        settings.MailServer = c.server;
        settings.MailSecurity = c.security;
        smtp.replies = {{c.unanswered, ""}};
        ASSERT_TRUE(mail("a@example.com"));
        EXPECT_EQ(outcome, MailDelivery::Outcome::Refused);
        EXPECT_TRUE(delivery.timedOut());
        EXPECT_FALSE(delivery.busy());

        settings.MailServer = talkingServer;
        settings.MailSecurity = "None";
        smtp.replies.clear();
        ASSERT_TRUE(mail("b@example.com"));
        EXPECT_EQ(outcome, MailDelivery::Outcome::Accepted);
        EXPECT_FALSE(delivery.timedOut());
    }
    EXPECT_EQ(silent.connectionCount(), 2);
    EXPECT_TRUE(prompt.messages.empty());
}

// A login in clear, when no security was asked for: EHLO and AUTH stand in
// for HELO.
TEST_F(MailDeliveryTest, UserNameWithoutSecurityLogsInWhereHeloWas) {
    settings.MailUserName = "user";
    settings.MailPassword = "pass";
    smtp.replies = {{"EHLO", "250-scripted\r\n250 AUTH PLAIN"}, {"AUTH", "235 welcome"}};
    ASSERT_TRUE(mail("a@example.com"));
    EXPECT_EQ(outcome, MailDelivery::Outcome::Accepted);
    EXPECT_EQ(smtp.verbs(), (Strings{"EHLO", "AUTH", "MAIL", "RCPT", "DATA", "QUIT"}));
    EXPECT_EQ(smtp.commands[1], "AUTH PLAIN AHVzZXIAcGFzcw==");
    EXPECT_TRUE(prompt.messages.empty());
}

// Each failure ends the delivery with its message for the caller, and
// nothing of the mail is sent; QUIT only where the connection is left.
TEST_F(MailDeliveryTest, SignInThatFailsIsToldAndMailsNothing) {
    const struct {
        const char* security;
        const char* userName;
        std::map<std::string, std::string> replies;
        std::string message;
        Strings verbs;
    } cases[] = {
        {"STARTTLS",
         "",
         {{"EHLO", "250-scripted\r\n250 AUTH PLAIN"}},
         kStartTlsNotOfferedMessage,
         {"EHLO"}},
        {"starttls",
         "user",
         {{"EHLO", "250-scripted\r\n250 STARTTLS"}, {"STARTTLS", "454 no"}},
         std::string(kSecureConnectionFailedMessage) + "454 no",
         {"EHLO", "STARTTLS"}},
        {"None",
         "user",
         {{"EHLO", "250-scripted\r\n250 AUTH PLAIN"}, {"AUTH", "535 bad"}},
         kLoginRefusedMessage,
         {"EHLO", "AUTH", "QUIT"}},
        {"", "user", {{"EHLO", "250 scripted"}}, kLoginNotOfferedMessage, {"EHLO", "QUIT"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        settings.MailSecurity = c.security;
        settings.MailUserName = c.userName;
        settings.MailPassword = "pass";
        smtp.replies = c.replies;
        smtp.commands.clear();
        ASSERT_TRUE(mail("a@example.com"));
        EXPECT_EQ(outcome, MailDelivery::Outcome::Refused);
        EXPECT_EQ(smtp.verbs(), c.verbs);
        EXPECT_EQ(delivery.failure(), c.message);
        EXPECT_TRUE(prompt.messages.empty());
        EXPECT_EQ(delivery.refusal(), std::nullopt);
        EXPECT_FALSE(delivery.busy());
    }
}

// A settings file stores a string that holds a line break as hex(1) bytes
// ended by a zero byte.
std::string storedWithLineBreak(const std::string& text) {
    std::string data = "hex(1):";
    char digits[4];
    for (const char c : text + '\0') {
        std::snprintf(digits, sizeof digits, "%02x,", static_cast<unsigned char>(c));
        data += digits;
    }
    data.pop_back();
    return data;
}

// Header values read from a settings file whose strings hold a line break:
// each break goes out as a blank, so that no header line of its own is sent.
TEST_F(MailDeliveryTest, LineBreaksInStoredHeaderValuesGoOutAsBlanks) {
    const std::string injected = "\r\nBcc: x@evil";
    test::writeFile(dir / "registry.reg",
                    "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Velmor "
                    "Software\\Statvane\\Settings]\r\n\"Subject\"=" +
                        storedWithLineBreak("Weekly" + injected) +
                        "\r\n\"From\"=" + storedWithLineBreak("me@example.com" + injected) +
                        "\r\n\"Reply-To\"=" + storedWithLineBreak("you@example.com" + injected) +
                        "\r\n");
    Registry registry(dir / "registry.reg");
    SettingsStore(registry).loadSettings(settings);
    ASSERT_EQ(settings.MailSubject, "Weekly" + injected);
    settings.MailServer = "127.0.0.1:" + std::to_string(smtp.server.port());

    ASSERT_TRUE(mail("a@example.com"));
    EXPECT_EQ(outcome, MailDelivery::Outcome::Accepted);
    EXPECT_EQ(smtp.verbs(), (Strings{"HELO", "MAIL", "RCPT", "DATA", "QUIT"}));
    EXPECT_EQ(smtp.commands[1], "MAIL FROM:<me@example.com  Bcc: x@evil>");
    EXPECT_EQ(smtp.messages.rfind("Reply-To: you@example.com  Bcc: x@evil\n"
                                  "From: me@example.com  Bcc: x@evil\n"
                                  "To: a@example.com\n"
                                  "Subject: Weekly  Bcc: x@evil\n"
                                  "Mime-Version: 1.0\n",
                                  0),
              0u)
        << smtp.messages;
}

TEST_F(MailDeliveryTest, SecurityThatNamesNoModeIsToldBeforeConnecting) {
    settings.MailSecurity = "SSL";
    EXPECT_FALSE(mail("a@example.com"));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first, std::string(kUnknownMailSecurityMessage) + "SSL");
    EXPECT_EQ(smtp.server.connectionCount(), 0);
    EXPECT_FALSE(delivery.busy());
}

// Without a port in the server setting, the security's own: 25, or the
// submission ports 587 and 465.
TEST_F(MailDeliveryTest, PortFollowsTheSecurityUnlessTheServerNamesOne) {
    const struct {
        const char* server;
        const char* security;
        const char* port;
    } cases[] = {
        {"127.0.0.1", "", "smtp"},         {"127.0.0.1", "None", "smtp"},
        {"127.0.0.1", "STARTTLS", "587"},  {"127.0.0.1", "TLS", "465"},
        {"127.0.0.1:2525", "TLS", "2525"},
    };
    for (const auto& c : cases) {
        settings.MailServer = c.server;
        settings.MailSecurity = c.security;
        ASSERT_TRUE(delivery.mailReport(settings, dir / "report.txt", "a@example.com"));
        EXPECT_EQ(client.Host, "127.0.0.1");
        EXPECT_EQ(client.Port, c.port) << c.server << " " << c.security;
        delivery.abort();
    }
}

TEST_F(MailDeliveryTest, AbortEndsAtOnceWithTheServersAnswerToTheMessage) {
    const std::pair<std::string, MailDelivery::Outcome> cases[] = {
        {"HELO", MailDelivery::Outcome::Refused},
        {".", MailDelivery::Outcome::Refused},
        {"QUIT", MailDelivery::Outcome::Accepted},
    };
    smtp.onSilence = [this] { delivery.abort(); };
    for (const auto& [unanswered, expected] : cases) {
        smtp.replies = {{unanswered, ""}};
        ASSERT_TRUE(mail("a@example.com")) << unanswered;
        EXPECT_EQ(outcome, expected) << "aborted at an unanswered " << unanswered;
        EXPECT_FALSE(delivery.busy());
    }
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(MailDeliveryTest, AbortRightAfterTheServerTookTheMessageCountsItAccepted) {
    // The abort comes while the client's completion of the message still
    // waits in the event queue.
    bool aborting = false;
    client.OnStateChange = [this, &aborting] {
        if (client.State() == smtpReady && client.LastResponse() == "250 queued" &&
            !std::exchange(aborting, true))
            QMetaObject::invokeMethod(
                &wait, [this] { delivery.abort(); }, Qt::QueuedConnection);
    };
    ASSERT_TRUE(mail("a@example.com"));
    EXPECT_TRUE(aborting);
    EXPECT_EQ(outcome, MailDelivery::Outcome::Accepted);
}

} // namespace
} // namespace statvane
