#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace statvane {

// Days are numbered as std::chrono::sys_days counts them: days since
// 1 January 1970, so that one day after another is one number after another.

// The English abbreviations of the months, January first, as logs write them.
inline constexpr std::array<std::string_view, 12> kMonthAbbreviations = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The value of a field of a written date or time made of decimal digits
// only, "09" or "2026"; -1 for any other text, the empty one included.
inline int dateFieldValue(std::string_view text) {
    if (text.empty())
        return -1;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The number of a real calendar date (month 1 to 12); nothing when there is
// no such date.
std::optional<std::int32_t> dayNumberOf(int year, int month, int dayOfMonth);

// The year a day falls in.
int yearOf(std::int32_t day);

// A day as logs write days: "09/Dec/2026".
std::string dayTextOf(std::int32_t day);

// A day written "2026-12-09": four, two and two digits and a real date.
std::optional<std::int32_t> isoDayOf(std::string_view text);
std::string isoDayTextOf(std::int32_t day);

// Today on the machine's clock, in its local time.
std::int32_t todayOnLocalClock();

// The days from first to last, both included.
struct DayRange {
    std::int32_t first = 0;
    std::int32_t last = 0;

    bool contains(std::int32_t day) const { return day >= first && day <= last; }
    bool operator==(const DayRange&) const = default;
};

} // namespace statvane
