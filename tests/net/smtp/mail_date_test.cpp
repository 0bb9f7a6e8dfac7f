#include "net/smtp/mail_date.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace statvane {
namespace {

TEST(MailDate, WritesEnglishNamesAndTheZoneOffset) {
    const struct {
        LocalDateTime moment;
        const char* text;
    } cases[] = {
        {{QDate(1999, 12, 6), QTime(23, 43, 5), 3600}, "Mon, 6 Dec 1999 23:43:05 +0100"},
        {{QDate(2024, 3, 10), QTime(0, 0, 0), 0}, "Sun, 10 Mar 2024 00:00:00 -0000"},
        {{QDate(2024, 7, 20), QTime(9, 5, 59), std::nullopt}, "Sat, 20 Jul 2024 09:05:59 -0000"},
        {{QDate(2023, 1, 31), QTime(12, 30, 0), -(3 * 3600 + 30 * 60)},
         "Tue, 31 Jan 2023 12:30:00 -0330"},
        {{QDate(2023, 9, 1), QTime(18, 0, 1), 5 * 3600 + 45 * 60},
         "Fri, 1 Sep 2023 18:00:01 +0545"},
    };
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const auto& [moment, text] : cases)
        EXPECT_EQ(mailDateText(moment), text);
    QLocale::setDefault(previous);
}

TEST(MailDate, BoundaryStampIsMonthDayYearHourMinute) {
    EXPECT_EQ(boundaryStamp({QDate(1999, 12, 6), QTime(23, 43, 5), 3600}), "1206992343");
    EXPECT_EQ(boundaryStamp({QDate(2005, 1, 2), QTime(3, 4, 0), 0}), "0102050304");
}

TEST(MailDate, CurrentMomentCarriesTheLocalOffset) {
    const LocalDateTime now = currentLocalDateTime();
    EXPECT_TRUE(now.date.isValid());
    EXPECT_TRUE(now.utcOffsetSeconds.has_value());
}

} // namespace
} // namespace statvane
