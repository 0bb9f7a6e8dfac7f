#include "net/base64.h"
#include "smtp_test_support.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane::test {
namespace {

// Tuesday 5 March 2024, 09:07:03, one hour ahead of UTC.
LocalDateTime fixedMoment() {
    return {QDate(2024, 3, 5), QTime(9, 7, 3), 3600};
}
const QByteArray fixedDateLine = "Date: Tue, 5 Mar 2024 09:07:03 +0100";
const QByteArray boundary = "= Multipart Boundary 0305240907";
const QByteArray fixedMessageIdLine =
    "Message-ID: <1709626023000.4242.00000000000000ff@example.test>";

// A client with the fixed clock and a complete envelope and header.
class SmtpMessage : public ::testing::Test {
  protected:
    SmtpMessage() {
        client.setClock(fixedMoment);
        client.setMessageIdSource([] { return "1709626023000.4242.00000000000000ff"; });
        client.FromName = "sender@example.test";
        client.RcptName = {"a@example.test"};
        client.HdrFrom = "Sender <sender@example.test>";
        client.HdrTo = "a@example.test; b@example.test";
        client.HdrSubject = "Weekly report";
    }

    // Runs the whole delivery; returns the message as the server got it.
    std::vector<QByteArray> send() {
        pointAt(client, server.port());
        MailDialogue dialogue(client);
        EXPECT_TRUE(dialogue.run());
        mailCompletion = dialogue.completions.size() > 2 ? dialogue.completions[2].error : -1;
        mailErrorMessage = dialogue.mailErrorMessage;
        return server.messageLines();
    }

    std::filesystem::path attachment(std::string_view name, std::string_view bytes) {
        const std::filesystem::path path = folder / name;
        writeFile(path, bytes);
        return path;
    }

    TempDir folder;
    FakeSmtpServer server;
    TSmtpCli client;
    int mailCompletion = -1;
    std::string mailErrorMessage;
};

TEST_F(SmtpMessage, PlainTextHeaderAndDotStuffedBody) {
    client.HdrReplyTo = "reply@example.test";
    client.HdrReturnPath = " \t";
    const std::vector<std::string> text = {"first line", ".hidden", "..two", ""};
    client.OnGetData = [&](int lineNum, std::string& line, int maxLen, bool& more) {
        EXPECT_EQ(maxLen, 1023);
        more = lineNum <= static_cast<int>(text.size());
        if (more)
            line = text[lineNum - 1];
    };

    const std::vector<QByteArray> expected = {
        "Reply-To: reply@example.test",
        "From: Sender <sender@example.test>",
        "To: a@example.test; b@example.test",
        "Subject: Weekly report",
        "Mime-Version: 1.0",
        "Content-Type: text/plain; charset=\"iso-8859-1\"",
        fixedDateLine,
        fixedMessageIdLine,
        "",
        "first line",
        "..hidden",
        "...two",
        "",
    };
    EXPECT_EQ(send(), expected);
    EXPECT_EQ(mailCompletion, 0);
}

TEST_F(SmtpMessage, MultipartWithOneAttachment) {
    client.HdrReturnPath = "bounce@example.test";
    const std::string bytes = "46 bytes: one full base64 line and a short one";
    ASSERT_EQ(bytes.size(), 46u);
    client.AssignEmailFiles({"  " + attachment("report.txt", bytes).string() + " ", ""});

    const std::vector<QByteArray> expected = {
        "Return-Path: bounce@example.test",
        "From: Sender <sender@example.test>",
        "To: a@example.test; b@example.test",
        "Subject: Weekly report",
        "Mime-Version: 1.0",
        "Content-Type: multipart/mixed;",
        "\tboundary=\"" + boundary + "\"",
        fixedDateLine,
        fixedMessageIdLine,
        "",
        "This is a multipart MIME message.",
        "",
        "--" + boundary,
        "Content-Type: text/plain; charset=\"iso-8859-1\"",
        "Content-Transfer-Encoding: 7bit",
        "",
        "",
        "--" + boundary,
        "Content-Type: application/octet-stream;",
        "\tname=\"report.txt\"",
        "Content-Transfer-Encoding: base64",
        "Content-Disposition: attachment;",
        "\tfilename=\"report.txt\"",
        "",
        QByteArray::fromStdString(base64Encode(bytes.substr(0, 45))),
        QByteArray::fromStdString(base64Encode(bytes.substr(45))),
        "",
        "--" + boundary + "--",
    };
    const std::vector<QByteArray> received = send();
    EXPECT_EQ(received, expected);
    EXPECT_EQ(received[24].size(), 60);
    EXPECT_EQ(received[25].size(), 4);
    EXPECT_EQ(client.Boundary(), boundary.toStdString());
}

// The base64 lines of one attachment: 60 characters from each 45 bytes, the
// last line shorter, one empty line for an empty file.
TEST_F(SmtpMessage, AttachmentLinesFollowTheFileSize) {
    const struct {
        std::size_t size;
        std::vector<qsizetype> lineLengths;
    } cases[] = {{0, {0}}, {45, {60}}, {46, {60, 4}}, {100, {60, 60, 16}}};
    for (const auto& [size, lineLengths] : cases) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 7);
        client.EmailFiles = {attachment("data.bin", bytes).string()};
        FakeSmtpServer caseServer;
        pointAt(client, caseServer.port());
        MailDialogue dialogue(client);
        ASSERT_TRUE(dialogue.run());
        ASSERT_TRUE(waitFor([&] { return !client.Connected(); }));

        const std::vector<QByteArray>& lines = caseServer.messageLines();
        const auto start = std::find(lines.begin(), lines.end(), "\tfilename=\"data.bin\"") + 2;
        const auto end = lines.end() - 2; // the empty line and the closing boundary
        ASSERT_LT(start, end) << size;
        std::vector<qsizetype> lengths;
        QByteArray encoded;
        for (auto line = start; line != end; ++line) {
            lengths.push_back(line->size());
            encoded += *line;
        }
        EXPECT_EQ(lengths, lineLengths) << size;
        EXPECT_EQ(QByteArray::fromBase64(encoded).toStdString(), bytes) << size;
    }
}

TEST_F(SmtpMessage, HeaderEventsMayEditTheHeader) {
    client.OnProcessHeader = [](std::vector<std::string>& lines) {
        lines.push_back("X-Report: weekly");
    };
    client.OnHeaderLine = [](std::string& line) {
        if (line.starts_with("Subject: "))
            line = "Subject: Changed";
    };
    const std::vector<QByteArray> received = send();
    ASSERT_EQ(received.size(), 9u);
    EXPECT_EQ(received[2], "Subject: Changed");
    EXPECT_EQ(received[7], "X-Report: weekly");
    EXPECT_EQ(received[8], "");
}

TEST_F(SmtpMessage, AttachmentContentTypeMayBeChanged) {
    client.EmailFiles = {attachment("report.txt", "text").string()};
    client.OnAttachContentType = [](int fileNumber, const std::string& fileName,
                                    std::string& type) {
        EXPECT_EQ(fileNumber, 1);
        EXPECT_EQ(fileName, "report.txt");
        type = "text/plain";
    };
    const std::vector<QByteArray> received = send();
    EXPECT_NE(std::find(received.begin(), received.end(), "Content-Type: text/plain;"),
              received.end());
}

// An attachment that cannot be read must not leave a message that the server
// delivers without it: the connection is dropped before the final ".".
TEST_F(SmtpMessage, UnreadableAttachmentIsNeverDelivered) {
    const std::string missing = (folder / "gone.txt").string();
    client.EmailFiles = {missing};
    send();
    EXPECT_EQ(mailCompletion, 10004);
    EXPECT_FALSE(server.messageEnded());
    EXPECT_EQ(mailErrorMessage, "Cannot open attachment '" + missing + "'");
}

TEST_F(SmtpMessage, EventsReportTheDialogue) {
    std::vector<std::string> shown;
    std::vector<std::string> commands;
    std::vector<std::string> responses;
    std::vector<TSmtpState> states;
    int connected = 0;
    int closed = 0;
    client.OnDisplay = [&](const std::string& text) { shown.push_back(text); };
    client.OnCommand = [&](const std::string& command) { commands.push_back(command); };
    client.OnResponse = [&](const std::string& line) { responses.push_back(line); };
    client.OnStateChange = [&] { states.push_back(client.State()); };
    client.OnSessionConnected = [&] { ++connected; };
    client.OnSessionClosed = [&] { ++closed; };
    client.OnGetData = [](int lineNum, std::string& line, int, bool& more) {
        more = lineNum == 1;
        line = ".dot";
    };

    send();
    ASSERT_TRUE(waitFor([&] { return closed == 1; }));

    EXPECT_EQ(connected, 1);
    EXPECT_EQ(commands.back(), "QUIT");
    EXPECT_EQ(responses.front(), "220 fake.test ready");
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "> ..dot"), 1);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "> DATA"), 1);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "< 354 go ahead"), 1);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "Subject: Weekly report"), 0)
        << "header lines are not shown";
    EXPECT_EQ(states.front(), smtpDnsLookup);
    EXPECT_NE(std::find(states.begin(), states.end(), smtpWaitingBanner), states.end());
    EXPECT_NE(std::find(states.begin(), states.end(), smtpInternalReady), states.end());
    EXPECT_EQ(states.back(), smtpReady);
}

} // namespace
} // namespace statvane::test
