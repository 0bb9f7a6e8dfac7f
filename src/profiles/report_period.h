#pragma once

#include "platform/calendar_day.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace statvane {

// Which days of the logs a report counts. Days are numbered as
// platform/calendar_day.h numbers them, as LogTime::day does.
enum class PeriodChoice { All, Yesterday, Last7Days, Last30Days, LastWeek, LastMonth, Between };

struct ReportPeriod {
    PeriodChoice choice = PeriodChoice::All;
    // The first and last day of Between, both counted. The profile writes them
    // with Between only and reads them back under any choice, so that the
    // last dates chosen stay at hand.
    std::int32_t from = 0;
    std::int32_t to = 0;

    bool operator==(const ReportPeriod&) const = default;
};

// The days counted on a run made on runDay; nothing for All, which counts
// every line. Yesterday, the last 7 and 30 days end the day before runDay;
// the last week is the Monday-to-Sunday week before runDay's week; the last
// month is the calendar month before runDay's.
std::optional<DayRange> dayRangeOf(const ReportPeriod& period, std::int32_t runDay);

// The choice as the profile's "Period" key writes it: "Last 7 Days".
std::string_view periodChoiceText(PeriodChoice choice);

// The period as a report's "Period", "Period From" and "Period To" keys give
// it (nothing for a key that is absent). A "Period" that is none of the
// choices' texts, or Between without two dates in order, reads as All with
// understood false, for the caller to tell.
struct PeriodReading {
    ReportPeriod period;
    bool understood = true;
};
PeriodReading periodOfKeys(std::optional<std::string_view> choice,
                           std::optional<std::string_view> from,
                           std::optional<std::string_view> to);

// A period given on the command line: a choice's text in any letter case,
// with any run of blanks between its words ("last week"), or two dates
// "FROM..TO" written yyyy-mm-dd, the first not after the second. Nothing for
// anything else (Between on its own included).
std::optional<ReportPeriod> parsePeriodArgument(std::string_view value);

// The period in messages: "Last Week, 30/Nov/2026 to 06/Dec/2026",
// "Yesterday, 08/Dec/2026", "01/Mar/2026 to 31/Mar/2026" for Between, "All".
std::string periodCaption(const ReportPeriod& period, std::int32_t runDay);

} // namespace statvane
