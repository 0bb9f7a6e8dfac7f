#include "platform/calendar_day.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace statvane {

using std::chrono::sys_days;
using std::chrono::year_month_day;

std::optional<std::int32_t> dayNumberOf(int year, int month, int dayOfMonth) {
    if (month < 1 || month > 12 || dayOfMonth < 1)
        return std::nullopt;
    const year_month_day date{std::chrono::year(year),
                              std::chrono::month(static_cast<unsigned>(month)),
                              std::chrono::day(static_cast<unsigned>(dayOfMonth))};
    if (!date.ok())
        return std::nullopt;
    return static_cast<std::int32_t>(sys_days(date).time_since_epoch().count());
}

int yearOf(std::int32_t day) {
    return static_cast<int>(year_month_day{sys_days(std::chrono::days(day))}.year());
}

std::string dayTextOf(std::int32_t day) {
    const year_month_day date{sys_days(std::chrono::days(day))};
    char text[32];
    std::snprintf(text, sizeof text, "%02u/%.3s/%04d", static_cast<unsigned>(date.day()),
                  kMonthAbbreviations[static_cast<unsigned>(date.month()) - 1].data(),
                  static_cast<int>(date.year()));
    return text;
}

std::optional<std::int32_t> isoDayOf(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const int year = dateFieldValue(text.substr(0, 4));
    const int month = dateFieldValue(text.substr(5, 2));
    const int dayOfMonth = dateFieldValue(text.substr(8, 2));
    if (year < 0 || month < 0 || dayOfMonth < 0)
        return std::nullopt;
    return dayNumberOf(year, month, dayOfMonth);
}

std::string isoDayTextOf(std::int32_t day) {
    const year_month_day date{sys_days(std::chrono::days(day))};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::int32_t todayOnLocalClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return *dayNumberOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

} // namespace statvane
