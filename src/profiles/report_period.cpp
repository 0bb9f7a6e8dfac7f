#include "profiles/report_period.h"

#include "platform/ascii.h"
#include "platform/calendar_day.h"

#include <array>
#include <chrono>

namespace statvane {
namespace {

using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr std::array<std::pair<PeriodChoice, std::string_view>, 7> kChoiceTexts = {{
    {PeriodChoice::All, "All"},
    {PeriodChoice::Yesterday, "Yesterday"},
    {PeriodChoice::Last7Days, "Last 7 Days"},
    {PeriodChoice::Last30Days, "Last 30 Days"},
    {PeriodChoice::LastWeek, "Last Week"},
    {PeriodChoice::LastMonth, "Last Month"},
    {PeriodChoice::Between, "Between"},
}};

// Separates the two dates of a period on the command line.
constexpr std::string_view kDatesSeparator = "..";

sys_days daysOf(std::int32_t day) {
    return sys_days(std::chrono::days(day));
}

std::int32_t numberOf(sys_days day) {
    return static_cast<std::int32_t>(day.time_since_epoch().count());
}

// The days back to the last whole one before runDay.
DayRange daysEndingYesterday(std::int32_t runDay, std::int32_t count) {
    return {runDay - count, runDay - 1};
}

DayRange weekBefore(std::int32_t runDay) {
    const unsigned sinceMonday = std::chrono::weekday(daysOf(runDay)).iso_encoding() - 1;
    const std::int32_t monday = runDay - static_cast<std::int32_t>(sinceMonday);
    return {monday - 7, monday - 1};
}

DayRange monthBefore(std::int32_t runDay) {
    const year_month_day date{daysOf(runDay)};
    const auto thisMonth = date.year() / date.month();
    const auto lastMonth = thisMonth - std::chrono::months(1);
    return {numberOf(sys_days(lastMonth / 1)), numberOf(sys_days(thisMonth / 1)) - 1};
}

std::optional<PeriodChoice> choiceOf(std::string_view text, bool ignoringCase) {
    for (const auto& [choice, choiceText] : kChoiceTexts) {
        if (ignoringCase ? ascii::equalsIgnoringCase(text, choiceText) : text == choiceText)
            return choice;
    }
    return std::nullopt;
}

std::optional<std::int32_t> dayOfKey(std::optional<std::string_view> text) {
    return text ? isoDayOf(*text) : std::nullopt;
}

// The words of text with one space between each two.
std::string wordsOf(std::string_view text) {
    std::string words;
    for (const char c : ascii::trimBlanks(text)) {
        const bool blank = c == ' ' || c == '\t';
        if (!blank)
            words += c;
        else if (words.back() != ' ')
            words += ' ';
    }
    return words;
}

std::optional<ReportPeriod> betweenOf(std::string_view value) {
    const auto separator = value.find(kDatesSeparator);
    if (separator == std::string_view::npos)
        return std::nullopt;
    const auto from = isoDayOf(value.substr(0, separator));
    const auto to = isoDayOf(value.substr(separator + kDatesSeparator.size()));
    if (!from || !to || *from > *to)
        return std::nullopt;
    return ReportPeriod{PeriodChoice::Between, *from, *to};
}

std::string rangeText(const DayRange& range) {
    if (range.first == range.last)
        return dayTextOf(range.first);
    return dayTextOf(range.first) + " to " + dayTextOf(range.last);
}

} // namespace

std::optional<DayRange> dayRangeOf(const ReportPeriod& period, std::int32_t runDay) {
    switch (period.choice) {
    case PeriodChoice::All:
        return std::nullopt;
    case PeriodChoice::Yesterday:
        return daysEndingYesterday(runDay, 1);
    case PeriodChoice::Last7Days:
        return daysEndingYesterday(runDay, 7);
    case PeriodChoice::Last30Days:
        return daysEndingYesterday(runDay, 30);
    case PeriodChoice::LastWeek:
        return weekBefore(runDay);
    case PeriodChoice::LastMonth:
        return monthBefore(runDay);
    case PeriodChoice::Between:
        break;
    }
    return DayRange{period.from, period.to};
}

std::string_view periodChoiceText(PeriodChoice choice) {
    return kChoiceTexts[static_cast<std::size_t>(choice)].second;
}

PeriodReading periodOfKeys(std::optional<std::string_view> choice,
                           std::optional<std::string_view> from,
                           std::optional<std::string_view> to) {
    const auto fromDay = dayOfKey(from);
    const auto toDay = dayOfKey(to);
    PeriodReading reading{{PeriodChoice::All, fromDay.value_or(0), toDay.value_or(0)}, true};
    if (!choice)
        return reading;
    const auto known = choiceOf(*choice, false);
    const bool datesInOrder = fromDay && toDay && *fromDay <= *toDay;
    reading.understood = known && (*known != PeriodChoice::Between || datesInOrder);
    if (reading.understood)
        reading.period.choice = *known;
    return reading;
}

std::optional<ReportPeriod> parsePeriodArgument(std::string_view value) {
    const auto choice = choiceOf(wordsOf(value), true);
    if (!choice)
        return betweenOf(ascii::trimBlanks(value));
    if (*choice == PeriodChoice::Between)
        return std::nullopt;
    return ReportPeriod{*choice};
}

std::string periodCaption(const ReportPeriod& period, std::int32_t runDay) {
    const auto range = dayRangeOf(period, runDay);
    if (!range)
        return std::string(periodChoiceText(period.choice));
    if (period.choice == PeriodChoice::Between)
        return rangeText(*range);
    return std::string(periodChoiceText(period.choice)) + ", " + rangeText(*range);
}

} // namespace statvane
