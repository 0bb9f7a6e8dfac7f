#include "analysis/log_time.h"

#include "platform/ascii.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

namespace statvane {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// "dd/Mon/yyyy:hh:mm:ss"
constexpr std::size_t kStampLength = 20;

// The value of text made of decimal digits only; -1 otherwise.
int numberOf(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// 1 to 12 for a month's abbreviation in any letter case; -1 otherwise.
int monthOf(std::string_view text) {
    const auto month = std::ranges::find_if(
        kMonths, [text](std::string_view name) { return ascii::equalsIgnoringCase(name, text); });
    return month == kMonths.end() ? -1 : static_cast<int>(month - kMonths.begin()) + 1;
}

bool separatorsIn(std::string_view stamp) {
    return stamp[2] == '/' && stamp[6] == '/' && stamp[11] == ':' && stamp[14] == ':' &&
           stamp[17] == ':';
}

} // namespace

std::optional<LogTime> logTimeOf(std::string_view line, int latestYear) {
    const auto open = line.find('[');
    if (open == std::string_view::npos || line.size() - open - 1 < kStampLength)
        return std::nullopt;
    const std::string_view stamp = line.substr(open + 1, kStampLength);
    if (!separatorsIn(stamp))
        return std::nullopt;
    const int day = numberOf(stamp.substr(0, 2));
    const int month = monthOf(stamp.substr(3, 3));
    const int year = numberOf(stamp.substr(7, 4));
    const int hour = numberOf(stamp.substr(12, 2));
    const int minute = numberOf(stamp.substr(15, 2));
    const int second = numberOf(stamp.substr(18, 2));
    if (std::min({day, month, hour, minute, second}) < 0 || year < kEarliestLogYear ||
        year > latestYear || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok())
        return std::nullopt;
    const auto number = std::chrono::sys_days(date).time_since_epoch().count();
    return LogTime{static_cast<std::int32_t>(number), hour};
}

std::string dayTextOf(std::int32_t day) {
    const std::chrono::year_month_day date{std::chrono::sys_days(std::chrono::days(day))};
    char text[32];
    std::snprintf(text, sizeof text, "%02u/%.3s/%04d", static_cast<unsigned>(date.day()),
                  kMonths[static_cast<unsigned>(date.month()) - 1].data(),
                  static_cast<int>(date.year()));
    return text;
}

} // namespace statvane
