#include "output/mail_delivery.h"
#include "output/recipients.h"
#include "peers/peer_process.h"
#include "peers/scripted_server.h"
#include "platform/error.h"
#include "support/recording_run.h"
#include "support/temp_dir.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>
#include <memory>

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

// An SMTP server that answers each command from a table (default 250) and
// records the commands; DATA takes a message up to ".".
class ScriptedSmtp {
  public:
    std::map<std::string, std::string> replies;
    Strings commands;

    test::ScriptedServer server{[this](QTcpSocket& connection, test::ScriptedServer&) {
        connection.write("220 scripted ready\r\n");
        auto inMessage = std::make_shared<bool>(false);
        test::ScriptedServer::onLines(
            connection, [this, &connection, inMessage](const QByteArray& line) {
                if (*inMessage) {
                    if (line == ".") {
                        *inMessage = false;
                        connection.write("250 queued\r\n");
                    }
                    return;
                }
                const std::string command = line.toStdString();
                commands.push_back(command);
                const std::string verb = command.substr(0, command.find_first_of(" :"));
                const auto found = replies.find(verb);
                std::string reply = found != replies.end() ? found->second : "250 ok";
                if (verb == "DATA" && found == replies.end())
                    reply = "354 go ahead";
                if (verb == "QUIT")
                    reply = "221 bye";
                connection.write((reply + "\r\n").c_str());
                if (reply.rfind("354", 0) == 0)
                    *inMessage = true;
                if (verb == "QUIT")
                    connection.disconnectFromHost();
            });
    }};

    Strings verbs() const {
        Strings out;
        for (const auto& command : commands)
            out.push_back(command.substr(0, command.find_first_of(" :")));
        return out;
    }
};

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
        if (!delivery.mailReport(settings, dir / "report.txt", addresses))
            return false;
        QTimer::singleShot(10000, &wait, [this] { wait.quit(); });
        wait.exec();
        return true;
    }

    test::TempDir dir;
    ScriptedSmtp smtp;
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
    EXPECT_NE(smtp.server.received().indexOf("To: a@example.com ; b@example.com\r\n"), -1);
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

TEST_F(MailDeliveryTest, FailedConnectionShowsTheSettingsMessage) {
    settings.MailServer = "127.0.0.1:" + std::to_string(test::freeLoopbackPort());
    ASSERT_TRUE(mail("a@example.com"));
    EXPECT_EQ(outcome, MailDelivery::Outcome::Refused);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first,
              "An error has occured.  Please make sure your mail settings are correct under the "
              "Settings option off the Tools menu.");
}

TEST_F(MailDeliveryTest, NothingIsSentWithoutAConnectionOrAServer) {
    online = false;
    EXPECT_FALSE(mail("a@example.com"));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first,
              "Statvane could not process your request since you are not connected to the "
              "Internet.");
    online = true;
    settings.MailServer = "";
    try {
        mail("a@example.com");
        FAIL() << "expected an error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "DNS lookup: invalid host name.");
    }
    EXPECT_EQ(smtp.server.connectionCount(), 0);
    EXPECT_FALSE(delivery.busy());
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

} // namespace
} // namespace statvane
