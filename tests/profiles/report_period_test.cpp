#include "platform/calendar_day.h"
#include "profiles/report_period.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using Choice = PeriodChoice;

std::int32_t day(std::string_view iso) {
    return isoDayOf(iso).value();
}

// A range as its first and last day written yyyy-mm-dd.
using Days = std::pair<std::string, std::string>;

std::optional<Days> rangeText(const ReportPeriod& period, std::string_view runDay) {
    const auto range = dayRangeOf(period, day(runDay));
    if (!range)
        return std::nullopt;
    return Days{isoDayTextOf(range->first), isoDayTextOf(range->last)};
}

TEST(ReportPeriod, DayRangesCountBackFromTheRunDay) {
    struct Case {
        Choice choice;
        std::string_view runDay;
        std::string_view first;
        std::string_view last;
    };
    const Case cases[] = {
        {Choice::Yesterday, "2026-12-09", "2026-12-08", "2026-12-08"},
        {Choice::Yesterday, "2026-03-01", "2026-02-28", "2026-02-28"},
        {Choice::Yesterday, "2024-03-01", "2024-02-29", "2024-02-29"},
        {Choice::Yesterday, "2027-01-01", "2026-12-31", "2026-12-31"},
        {Choice::Last7Days, "2026-12-09", "2026-12-02", "2026-12-08"},
        {Choice::Last7Days, "2027-01-03", "2026-12-27", "2027-01-02"},
        {Choice::Last7Days, "2024-03-03", "2024-02-25", "2024-03-02"},
        {Choice::Last30Days, "2026-12-09", "2026-11-09", "2026-12-08"},
        {Choice::Last30Days, "2024-03-15", "2024-02-14", "2024-03-14"},
        {Choice::Last30Days, "2027-01-10", "2026-12-11", "2027-01-09"},
        // 2026-12-07 is a Monday, 2026-12-13 a Sunday.
        {Choice::LastWeek, "2026-12-07", "2026-11-30", "2026-12-06"},
        {Choice::LastWeek, "2026-12-09", "2026-11-30", "2026-12-06"},
        {Choice::LastWeek, "2026-12-13", "2026-11-30", "2026-12-06"},
        {Choice::LastWeek, "2026-12-14", "2026-12-07", "2026-12-13"},
        {Choice::LastWeek, "2027-01-03", "2026-12-21", "2026-12-27"},
        {Choice::LastWeek, "2027-01-04", "2026-12-28", "2027-01-03"},
        {Choice::LastWeek, "2024-03-04", "2024-02-26", "2024-03-03"},
        {Choice::LastMonth, "2026-12-09", "2026-11-01", "2026-11-30"},
        {Choice::LastMonth, "2026-12-01", "2026-11-01", "2026-11-30"},
        {Choice::LastMonth, "2026-12-31", "2026-11-01", "2026-11-30"},
        {Choice::LastMonth, "2027-01-15", "2026-12-01", "2026-12-31"},
        {Choice::LastMonth, "2024-03-31", "2024-02-01", "2024-02-29"},
        {Choice::LastMonth, "2026-03-01", "2026-02-01", "2026-02-28"},
        {Choice::LastMonth, "2000-03-10", "2000-02-01", "2000-02-29"},
        {Choice::LastMonth, "2100-03-10", "2100-02-01", "2100-02-28"},
        {Choice::LastMonth, "2026-08-02", "2026-07-01", "2026-07-31"},
    };
    for (const auto& [choice, runDay, first, last] : cases) {
        SCOPED_TRACE(std::string(periodChoiceText(choice)) + " on " + std::string(runDay));
        EXPECT_EQ(rangeText(ReportPeriod{choice}, runDay), Days(first, last));
    }
}

TEST(ReportPeriod, AllHasNoRangeAndBetweenIsItsOwnDays) {
    EXPECT_EQ(rangeText(ReportPeriod{}, "2026-12-09"), std::nullopt);
    const ReportPeriod between{Choice::Between, day("2026-02-27"), day("2026-03-02")};
    EXPECT_EQ(rangeText(between, "2020-01-01"), Days("2026-02-27", "2026-03-02"));
    const auto range = dayRangeOf(between, 0).value();
    EXPECT_FALSE(range.contains(day("2026-02-26")));
    EXPECT_TRUE(range.contains(day("2026-02-27")));
    EXPECT_TRUE(range.contains(day("2026-03-02")));
    EXPECT_FALSE(range.contains(day("2026-03-03")));
}

TEST(ReportPeriod, ProfileKeysReadExactTextsAndTellTheRest) {
    using Key = std::optional<std::string_view>;
    struct Case {
        Key choice;
        Key from;
        Key to;
        ReportPeriod period;
        bool understood;
    };
    const std::int32_t first = day("2026-02-01");
    const std::int32_t last = day("2026-02-28");
    const Case cases[] = {
        {std::nullopt, std::nullopt, std::nullopt, {}, true},
        {"All", std::nullopt, std::nullopt, {}, true},
        {"Yesterday", std::nullopt, std::nullopt, {Choice::Yesterday}, true},
        {"Last 7 Days", std::nullopt, std::nullopt, {Choice::Last7Days}, true},
        {"Last 30 Days", std::nullopt, std::nullopt, {Choice::Last30Days}, true},
        {"Last Week", std::nullopt, std::nullopt, {Choice::LastWeek}, true},
        {"Last Month", std::nullopt, std::nullopt, {Choice::LastMonth}, true},
        {"Between", "2026-02-01", "2026-02-28", {Choice::Between, first, last}, true},
        {"Between", "2026-02-28", "2026-02-28", {Choice::Between, last, last}, true},
        {"Last Week", "2026-02-01", "2026-02-28", {Choice::LastWeek, first, last}, true},
        {"last week", std::nullopt, std::nullopt, {}, false},
        {"Last  Week", std::nullopt, std::nullopt, {}, false},
        {"Weekly", std::nullopt, std::nullopt, {}, false},
        {"", std::nullopt, std::nullopt, {}, false},
        {"Between", std::nullopt, std::nullopt, {}, false},
        {"Between", "2026-02-01", std::nullopt, {Choice::All, first, 0}, false},
        {"Between", "2026-02-28", "2026-02-01", {Choice::All, last, first}, false},
        {"Between", "2026-02-01", "2026-02-30", {Choice::All, first, 0}, false},
        {"Between", "2026-2-1", "2026-02-28", {Choice::All, 0, last}, false},
    };
    for (const auto& [choice, from, to, period, understood] : cases) {
        SCOPED_TRACE(std::string(choice.value_or("(none)")) + " " +
                     std::string(from.value_or("-")) + " " + std::string(to.value_or("-")));
        const PeriodReading reading = periodOfKeys(choice, from, to);
        EXPECT_EQ(reading.period, period);
        EXPECT_EQ(reading.understood, understood);
    }
}

TEST(ReportPeriod, CommandLineValues) {
    const std::pair<std::string_view, std::optional<ReportPeriod>> cases[] = {
        {"all", ReportPeriod{}},
        {"ALL", ReportPeriod{}},
        {"yesterday", ReportPeriod{Choice::Yesterday}},
        {"last 7 days", ReportPeriod{Choice::Last7Days}},
        {"Last 30 Days", ReportPeriod{Choice::Last30Days}},
        {"last week", ReportPeriod{Choice::LastWeek}},
        {"LAST WEEK", ReportPeriod{Choice::LastWeek}},
        {" last \t week ", ReportPeriod{Choice::LastWeek}},
        {"lAsT mOnTh", ReportPeriod{Choice::LastMonth}},
        {"2026-02-01..2026-02-28",
         ReportPeriod{Choice::Between, day("2026-02-01"), day("2026-02-28")}},
        {" 2024-02-29..2024-02-29 ",
         ReportPeriod{Choice::Between, day("2024-02-29"), day("2024-02-29")}},
        {"2026-12-31..2027-01-01",
         ReportPeriod{Choice::Between, day("2026-12-31"), day("2027-01-01")}},
        {"between", std::nullopt},
        {"lastweek", std::nullopt},
        {"last-week", std::nullopt},
        {"last weeks", std::nullopt},
        {"last 7", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"..", std::nullopt},
        {"2026-02-01", std::nullopt},
        {"2026-02-01..", std::nullopt},
        {"..2026-02-01", std::nullopt},
        {"2026-02-28..2026-02-01", std::nullopt},
        {"2026-02-01..2026-02-30", std::nullopt},
        {"2025-02-29..2025-03-01", std::nullopt},
        {"2026-13-01..2026-12-31", std::nullopt},
        {"2026-00-10..2026-12-31", std::nullopt},
        {"2026-01-00..2026-12-31", std::nullopt},
        {"2026-2-1..2026-02-28", std::nullopt},
        {"26-02-01..26-02-28", std::nullopt},
        {"2026/02/01..2026/02/28", std::nullopt},
        {"2026-02-01 .. 2026-02-28", std::nullopt},
        {"2026-02-01...2026-02-28", std::nullopt},
        {"2026-02-01..2026-02-28..2026-03-01", std::nullopt},
        {"+026-02-01..2026-02-28", std::nullopt},
        {"\xff\xfe garbage", std::nullopt},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(parsePeriodArgument(value), expected);
    }
}

TEST(ReportPeriod, CaptionsNameTheChoiceAndItsDays) {
    const std::int32_t runDay = day("2026-12-09");
    const std::pair<ReportPeriod, std::string_view> cases[] = {
        {ReportPeriod{}, "All"},
        {ReportPeriod{Choice::Yesterday}, "Yesterday, 08/Dec/2026"},
        {ReportPeriod{Choice::Last7Days}, "Last 7 Days, 02/Dec/2026 to 08/Dec/2026"},
        {ReportPeriod{Choice::Last30Days}, "Last 30 Days, 09/Nov/2026 to 08/Dec/2026"},
        {ReportPeriod{Choice::LastWeek}, "Last Week, 30/Nov/2026 to 06/Dec/2026"},
        {ReportPeriod{Choice::LastMonth}, "Last Month, 01/Nov/2026 to 30/Nov/2026"},
        {ReportPeriod{Choice::Between, day("2026-03-01"), day("2026-03-31")},
         "01/Mar/2026 to 31/Mar/2026"},
        {ReportPeriod{Choice::Between, day("2026-03-01"), day("2026-03-01")}, "01/Mar/2026"},
    };
    for (const auto& [period, caption] : cases) {
        SCOPED_TRACE(caption);
        EXPECT_EQ(periodCaption(period, runDay), caption);
    }
}

TEST(CalendarDay, DayNumbersAreThoseOfTheSystemClock) {
    EXPECT_EQ(day("1970-01-01"), 0);
    EXPECT_EQ(day("1969-12-31"), -1);
    EXPECT_EQ(day("2026-12-09"), 20796);
    EXPECT_EQ(isoDayTextOf(20796), "2026-12-09");
    EXPECT_EQ(dayTextOf(20796), "09/Dec/2026");
    EXPECT_EQ(yearOf(day("2026-12-31")), 2026);
    EXPECT_EQ(yearOf(day("2027-01-01")), 2027);
    EXPECT_EQ(yearOf(day("1969-12-31")), 1969);
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto utcToday = std::chrono::floor<std::chrono::days>(now).count();
    EXPECT_LE(std::abs(todayOnLocalClock() - utcToday), 1);
}

} // namespace
} // namespace statvane
