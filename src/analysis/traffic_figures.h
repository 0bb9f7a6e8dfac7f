#pragma once

#include "analysis/log_time.h"
#include "analysis/pass_totals.h"

#include <cstdint>
#include <string>
#include <vector>

namespace statvane {

// The row of the lines without a readable time stamp, last in the tables of
// days and of hours.
inline constexpr const char* kNoDateRow = "(no date)";

// An hour of the day, 0 to 23, as the tables write it: "00" to "23".
std::string hourText(std::size_t hour);

struct DayFigures {
    // As logs write days: "09/Dec/2026".
    std::string day;
    std::int64_t hits = 0;
    // Distinct client addresses, compared ignoring case.
    std::int64_t visitors = 0;

    bool operator==(const DayFigures&) const = default;
};

// When the lines of a pass were written.
struct TrafficFigures {
    // Every calendar day from the first to the last readable day, days
    // without a line included.
    std::vector<DayFigures> days;
    // All days together.
    HourCounts hours{};
    // Lines without a readable time stamp, and their distinct client
    // addresses.
    std::int64_t undated = 0;
    std::int64_t undatedVisitors = 0;

    // Every line: those of every hour and those without a time.
    std::int64_t hits() const;
};

TrafficFigures trafficFigures(const PassTotals& totals);

} // namespace statvane
