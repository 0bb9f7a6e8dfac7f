#include "net/smtp/mail_date.h"

#include <QDateTime>
#include <cstdio>
#include <cstdlib>

namespace statvane {
namespace {

constexpr const char* dayNames[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr const char* monthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string zoneText(std::optional<int> utcOffsetSeconds) {
    const int offset = utcOffsetSeconds.value_or(0);
    const int minutes = std::abs(offset) / 60;
    char text[8];
    std::snprintf(text, sizeof text, "%c%02d%02d", offset > 0 ? '+' : '-', minutes / 60 % 100,
                  minutes % 60);
    return text;
}

} // namespace

LocalDateTime currentLocalDateTime() {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date(), now.time(), now.offsetFromUtc()};
}

std::string mailDateText(const LocalDateTime& moment) {
    const QDate& date = moment.date;
    const QTime& time = moment.time;
    char text[48];
    std::snprintf(text, sizeof text, "%s, %d %s %04d %02d:%02d:%02d ",
                  dayNames[date.dayOfWeek() - 1], date.day(), monthNames[date.month() - 1],
                  date.year(), time.hour(), time.minute(), time.second());
    return text + zoneText(moment.utcOffsetSeconds);
}

std::string boundaryStamp(const LocalDateTime& moment) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d%02d%02d", moment.date.month(), moment.date.day(),
                  moment.date.year() % 100, moment.time.hour(), moment.time.minute());
    return text;
}

} // namespace statvane
