#include "peers/peer_process.h"
#include "smtp_test_support.h"
#include "support/temp_dir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace statvane::test {
namespace {

const QString python = kSystemPython;

// A mail with one attachment to several recipients, through aiosmtpd, which
// stores what it received and how Python's email package reads it.
TEST(SmtpRealServer, DeliversAnAttachmentToEveryRecipient) {
    REQUIRE_PEER(python);
    if (!pythonModuleAvailable("aiosmtpd")) {
        if (runningUnderCi())
            FAIL() << "test peer missing: python3-aiosmtpd";
        GTEST_SKIP() << "test peer missing: python3-aiosmtpd";
    }
    TempDir folder;
    const std::filesystem::path store = folder / "store";
    std::filesystem::create_directory(store);
    const quint16 port = freeLoopbackPort();
    PeerProcess peer;
    ASSERT_TRUE(peer.start(
        python, {SMTP_STORE_SERVER, QString::number(port), QString::fromStdString(store.string())},
        port))
        << peer.errorText().toStdString();

    // Large enough to need many rounds of the sending loop.
    std::string report(300'000, '\0');
    for (std::size_t i = 0; i < report.size(); ++i)
        report[i] = static_cast<char>((i * 31) ^ (i >> 8));
    const std::filesystem::path reportPath = folder / "report.txt";
    writeFile(reportPath, report);

    TSmtpCli client;
    pointAt(client, port);
    client.FromName = "statvane@example.test";
    client.HdrFrom = "statvane@example.test";
    client.HdrTo = "one@example.test; two@example.test;three@example.test";
    client.HdrSubject = "Weekly report";
    client.RcptName = {"one@example.test", "two@example.test", "three@example.test"};
    client.AssignEmailFiles({reportPath.string()});
    MailDialogue dialogue(client);
    ASSERT_TRUE(dialogue.run());
    ASSERT_EQ(
        dialogue.completions,
        (std::vector<Completion>{{smtpConnect, 0}, {smtpHelo, 0}, {smtpMail, 0}, {smtpQuit, 0}}))
        << dialogue.mailErrorMessage;

    const QJsonObject stored =
        QJsonDocument::fromJson(QByteArray::fromStdString(readFile(store / "1.json"))).object();
    EXPECT_EQ(stored["mail_from"].toString().toStdString(), "statvane@example.test");
    EXPECT_EQ(stored["rcpt_tos"].toArray(),
              QJsonArray({"one@example.test", "two@example.test", "three@example.test"}));
    const QJsonObject message = stored["message"].toObject();
    EXPECT_TRUE(message["is_multipart"].toBool());
    EXPECT_EQ(message["content_type"].toString().toStdString(), "multipart/mixed");
    EXPECT_EQ(message["defects"].toArray(), QJsonArray());
    EXPECT_EQ(message["headers"].toObject()["To"].toString(), QString::fromStdString(client.HdrTo));
    const QJsonArray attachments = message["attachments"].toArray();
    ASSERT_EQ(attachments.size(), 1);
    const QJsonObject attachment = attachments[0].toObject();
    EXPECT_EQ(attachment["filename"].toString().toStdString(), "report.txt");
    EXPECT_EQ(attachment["content_type"].toString().toStdString(), "application/octet-stream");
    EXPECT_TRUE(QByteArray::fromHex(attachment["data_hex"].toString().toLatin1()) ==
                QByteArray::fromStdString(report));
}

} // namespace
} // namespace statvane::test
