#pragma once

#include "platform/calendar_day.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace statvane {

// The earliest year a log line's time stamp is read with.
inline constexpr int kEarliestLogYear = 1990;

// Hits per hour of the day, 0 to 23.
using HourCounts = std::array<std::int64_t, 24>;

// When a log line was written, as its time stamp says (the server's local
// time; the offset is not applied).
struct LogTime {
    // Days since 1 January 1970, for calendar arithmetic (see calendar_day.h).
    std::int32_t day = 0;
    int hour = 0;
};

// The time stamp after the line's first "[": "dd/Mon/yyyy:hh:mm:ss" with an
// English month abbreviation in any letter case, a real calendar date with a
// year from kEarliestLogYear to latestYear, an hour from 0 to 23, and minute
// and second from 0 to 59. Nothing when the line has no such stamp.
std::optional<LogTime> logTimeOf(std::string_view line, int latestYear);

// Reads the time stamps of a run of lines as logTimeOf does. Lines mostly
// fall on the day of the line before them, so a day written as the last one
// read was is not read again.
class LogTimeReader {
  public:
    explicit LogTimeReader(int latestYear) : latestYear_(latestYear) {}

    std::optional<LogTime> read(std::string_view line);

  private:
    // "dd/Mon/yyyy"
    static constexpr std::size_t kDayLength = 11;

    std::optional<std::int32_t> dayNumberOf(std::string_view day) const;

    int latestYear_;
    std::array<char, kDayLength> lastDay_{};
    std::int32_t lastDayNumber_ = 0;
    bool lastDayKnown_ = false;
};

} // namespace statvane
