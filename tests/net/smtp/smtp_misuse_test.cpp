#include "smtp_test_support.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane::test {
namespace {

// Misuse raises from the call and starts nothing: the only completion seen
// afterwards is that of the Quit the test sends to close.
void expectRaises(const std::function<void()>& call, const std::string& text) {
    try {
        call();
        ADD_FAILURE() << "no exception, expected: " << text;
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), text);
    }
}

TEST(SmtpMisuse, RaisesOnAnIdleClient) {
    TSmtpCli client;
    CompletionLog log(client);
    client.RcptName = {"a@example.test"};
    const struct {
        std::function<void()> call;
        std::string text;
    } cases[] = {
        {[&] { client.Helo(); }, "SMTP component not connected"},
        {[&] { client.MailFrom(); }, "SMTP component not connected"},
        {[&] { client.RcptTo(); }, "SMTP component not connected"},
        {[&] { client.Data(); }, "SMTP component not connected"},
        {[&] { client.Mail(); }, "SMTP component not connected"},
        {[&] { client.Connect(); }, "DNS lookup: invalid host name."},
        {[&] {
             client.Host = "127.0.0.1";
             client.Port = "no-such-service";
             client.Connect();
         },
         "Cannot resolve port 'no-such-service'"},
        {[&] { client.AssignEmailFiles({"/no/such/folder/report.txt"}); },
         "File not found '/no/such/folder/report.txt'"},
    };
    for (const auto& [call, text] : cases)
        expectRaises(call, text);

    EXPECT_EQ(client.State(), smtpReady);
    client.Quit();
    ASSERT_TRUE(log.waitForCount(1));
    EXPECT_EQ(log.items(), (std::vector<Completion>{{smtpQuit, 0}}));
}

TEST(SmtpMisuse, AssigningFilesTrimsAndSkipsBlanks) {
    TempDir folder;
    writeFile(folder / "a.txt", "a");
    TSmtpCli client;
    client.EmailFiles = {"kept only until replaced"};
    const std::string path = (folder / "a.txt").string();
    client.AssignEmailFiles({" " + path + "\t", "  ", ""});
    EXPECT_EQ(client.EmailFiles, std::vector<std::string>{path});
    expectRaises(
        [&] {
            client.AssignEmailFiles({path, path + ".missing"});
        },
        "File not found '" + path + ".missing'");
    EXPECT_EQ(client.EmailFiles, std::vector<std::string>{path});
}

// A request under way refuses every other one, and goes on unharmed.
TEST(SmtpMisuse, RefusesRequestsWhileOneIsUnderWay) {
    FakeSmtpServer server;
    TSmtpCli client;
    pointAt(client, server.port());
    CompletionLog log(client);

    client.Connect();
    expectRaises([&] { client.Connect(); }, "SMTP component not ready");
    expectRaises([&] { client.Quit(); }, "SMTP component not ready");
    ASSERT_TRUE(log.waitForCount(1));
    expectRaises([&] { client.Connect(); }, "SMTP component already connected");
    expectRaises([&] { client.Mail(); }, "RcptName list is empty");
    expectRaises([&] { client.RcptTo(); }, "RcptName list is empty");

    client.RcptName = {"a@example.test"};
    client.Mail();
    expectRaises([&] { client.Helo(); }, "SMTP component not ready");
    expectRaises([&] { client.Data(); }, "SMTP component not ready");
    ASSERT_TRUE(log.waitForCount(2));
    client.Quit();
    ASSERT_TRUE(log.waitForCount(3));

    EXPECT_EQ(log.items(),
              (std::vector<Completion>{{smtpConnect, 0}, {smtpMail, 0}, {smtpQuit, 0}}));
    EXPECT_EQ(server.commands(), (std::vector<QByteArray>{
                                     "MAIL FROM:<>", "RCPT TO:<a@example.test>", "DATA", "QUIT"}));
    EXPECT_TRUE(server.messageEnded());
}

// A step of Mail that cannot start, here because an event handler emptied
// the recipients, ends the request instead of throwing into the event loop.
TEST(SmtpMisuse, StepThatCannotStartEndsTheMail) {
    FakeSmtpServer server;
    TSmtpCli client;
    pointAt(client, server.port());
    client.RcptName = {"a@example.test"};
    client.OnResponse = [&](const std::string& line) {
        if (line == "250 sender ok")
            client.RcptName.clear();
    };
    MailDialogue dialogue(client);

    ASSERT_TRUE(dialogue.run());

    EXPECT_EQ(
        dialogue.completions,
        (std::vector<Completion>{{smtpConnect, 0}, {smtpHelo, 0}, {smtpMail, 500}, {smtpQuit, 0}}));
    EXPECT_EQ(dialogue.mailErrorMessage, "500 RcptName list is empty");
}

} // namespace
} // namespace statvane::test
