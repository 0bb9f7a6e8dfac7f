#pragma once

#include <QDate>
#include <QTime>
#include <functional>
#include <optional>
#include <string>

namespace statvane {

// A moment in local time with the local zone's offset from UTC in force then;
// no offset when the zone cannot be determined.
struct LocalDateTime {
    QDate date;
    QTime time;
    std::optional<int> utcOffsetSeconds;
};

// Where the mail client takes "now" from; tests put a fixed moment here.
using MailClock = std::function<LocalDateTime()>;

LocalDateTime currentLocalDateTime();

// "Mon, 6 Dec 1999 23:43:05 +0100": English names whatever the locale, day
// without a leading zero, 24-hour clock; "-0000" for a zero or unknown offset.
std::string mailDateText(const LocalDateTime& moment);

// Month, day, year, hour and minute as two digits each: "1206992343".
std::string boundaryStamp(const LocalDateTime& moment);

} // namespace statvane
