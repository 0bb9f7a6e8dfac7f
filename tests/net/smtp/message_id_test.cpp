#include "net/smtp/message_id.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace statvane {
namespace {

// The domain comes from the From address; without a usable one, from the
// local host name, and failing that "localhost".
TEST(MessageIdText, TakesTheDomainOfTheFromAddress) {
    const struct {
        std::string_view from;
        std::string_view localHost;
        std::string_view expected;
    } cases[] = {
        {"reports@example.org", "box", "<u.1@example.org>"},
        {"Reports <reports@mail.example.org> ", "box", "<u.1@mail.example.org>"},
        {" reports@example.org \t", "box", "<u.1@example.org>"},
        {"\"a@b\" <reports@example.org>", "box", "<u.1@example.org>"},
        {"reports", "box.example.net", "<u.1@box.example.net>"},
        {"", "box", "<u.1@box>"},
        {"reports@", "box", "<u.1@box>"},
        {"reports@exa mple.org", "box", "<u.1@box>"},
        {"reports@example..org", "box", "<u.1@box>"},
        {"reports@[192.0.2.1]", "box", "<u.1@box>"},
        {"reports", "", "<u.1@localhost>"},
        {"reports", "my box", "<u.1@localhost>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messageIdText("u.1", c.from, c.localHost), c.expected) << c.from;
}

// Time, process and a random number: two calls in a row differ.
TEST(UniqueMessagePart, IsTimeProcessAndRandomNumber) {
    const std::string first = uniqueMessagePart();
    const QRegularExpression format(
        QString(R"(\A(\d{13,})\.%1\.[0-9a-f]{16}\z)").arg(QCoreApplication::applicationPid()));
    const QRegularExpressionMatch match = format.match(QString::fromStdString(first));
    ASSERT_TRUE(match.hasMatch()) << first;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    EXPECT_LE(now - match.captured(1).toLongLong(), 60000) << first;
    EXPECT_NE(uniqueMessagePart(), first);
}

} // namespace
} // namespace statvane
