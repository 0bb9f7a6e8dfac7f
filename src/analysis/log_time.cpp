#include "analysis/log_time.h"

#include <cstring>

namespace statvane {
namespace {

// "dd/Mon/yyyy:hh:mm:ss", of which "dd/Mon/yyyy" is the day.
constexpr std::size_t kStampLength = 20;

constexpr bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Three letters in lower case, one per byte.
constexpr std::uint32_t lowerLetters(std::string_view three) {
    std::uint32_t packed = 0;
    for (const char c : three)
        packed = packed << 8 | static_cast<unsigned char>(c | 0x20);
    return packed;
}

// 1 to 12 for a month's abbreviation in any letter case; -1 otherwise.
int monthOf(std::string_view text) {
    if (!isLetter(text[0]) || !isLetter(text[1]) || !isLetter(text[2]))
        return -1;
    const std::uint32_t packed = lowerLetters(text);
    for (std::size_t month = 0; month < kMonthAbbreviations.size(); ++month)
        if (lowerLetters(kMonthAbbreviations[month]) == packed)
            return static_cast<int>(month) + 1;
    return -1;
}

bool separatorsIn(std::string_view stamp) {
    return stamp[2] == '/' && stamp[6] == '/' && stamp[11] == ':' && stamp[14] == ':' &&
           stamp[17] == ':';
}

// The hour of "hh:mm:ss" in range; -1 otherwise.
int hourOf(std::string_view time) {
    const int hour = dateFieldValue(time.substr(0, 2));
    const int minute = dateFieldValue(time.substr(3, 2));
    const int second = dateFieldValue(time.substr(6, 2));
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return -1;
    return hour;
}

} // namespace

std::optional<std::int32_t> LogTimeReader::dayNumberOf(std::string_view day) const {
    const int dayOfMonth = dateFieldValue(day.substr(0, 2));
    const int month = monthOf(day.substr(3, 3));
    const int year = dateFieldValue(day.substr(7, 4));
    if (dayOfMonth < 0 || month < 0 || year < kEarliestLogYear || year > latestYear_)
        return std::nullopt;
    return statvane::dayNumberOf(year, month, dayOfMonth);
}

std::optional<LogTime> LogTimeReader::read(std::string_view line) {
    const auto open = line.find('[');
    if (open == std::string_view::npos || line.size() - open - 1 < kStampLength)
        return std::nullopt;
    const std::string_view stamp = line.substr(open + 1, kStampLength);
    if (!separatorsIn(stamp))
        return std::nullopt;
    const int hour = hourOf(stamp.substr(kDayLength + 1));
    if (hour < 0)
        return std::nullopt;
    if (!lastDayKnown_ || std::memcmp(stamp.data(), lastDay_.data(), kDayLength) != 0) {
        const auto number = dayNumberOf(stamp.substr(0, kDayLength));
        if (!number)
            return std::nullopt;
        std::memcpy(lastDay_.data(), stamp.data(), kDayLength);
        lastDayNumber_ = *number;
        lastDayKnown_ = true;
    }
    return LogTime{lastDayNumber_, hour};
}

std::optional<LogTime> logTimeOf(std::string_view line, int latestYear) {
    return LogTimeReader(latestYear).read(line);
}

} // namespace statvane
