#include "analysis/log_time.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

constexpr int kLatestYear = 2027;

struct Read {
    std::string day;
    int hour = 0;
    bool operator==(const Read&) const = default;
};

std::optional<Read> readOf(std::string_view line) {
    const auto time = logTimeOf(line, kLatestYear);
    if (!time)
        return std::nullopt;
    return Read{dayTextOf(time->day), time->hour};
}

TEST(LogTime, ReadableAndUnreadableStamps) {
    const std::pair<std::string_view, std::optional<Read>> cases[] = {
        {"h - - [09/Dec/2026:13:05:59 +0100] \"GET / HTTP/1.0\" 200 1", Read{"09/Dec/2026", 13}},
        {"h - - [01/jan/1990:00:00:00 -0500]", Read{"01/Jan/1990", 0}},
        {"h - - [31/DEC/2027:23:59:59", Read{"31/Dec/2027", 23}},
        {"h - - [29/Feb/2024:12:00:00 +0000]", Read{"29/Feb/2024", 12}},
        {"h - - [29/Feb/2000:12:00:00 +0000]", Read{"29/Feb/2000", 12}},
        {"h [x] [09/Dec/2026:13:05:59]", std::nullopt}, // only the first "[" counts
        {"h - - [09/Abc/2026:10:00:00 +0000]", std::nullopt},
        {"h - - [09/13/2026:10:00:00 +0000]", std::nullopt},
        {"h - - [09/Dec/2026:25:00:00 +0000]", std::nullopt},
        {"h - - [09/Dec/2026:24:00:00 +0000]", std::nullopt},
        {"h - - [09/Dec/2026:10:60:00 +0000]", std::nullopt},
        {"h - - [09/Dec/2026:10:00:60 +0000]", std::nullopt},
        {"h - - [32/Dec/2026:10:00:00 +0000]", std::nullopt},
        {"h - - [00/Dec/2026:10:00:00 +0000]", std::nullopt},
        {"h - - [31/Apr/2026:10:00:00 +0000]", std::nullopt},
        {"h - - [29/Feb/2026:10:00:00 +0000]", std::nullopt},
        {"h - - [29/Feb/1900:10:00:00 +0000]", std::nullopt},
        {"h - - [31/Dec/1989:23:59:59 +0000]", std::nullopt},
        {"h - - [01/Jan/2028:00:00:00 +0000]", std::nullopt},
        {"h - - [9/Dec/2026:10:00:00 +0000]", std::nullopt},
        {"h - - [09/Dec/2026 10:00:00 +0000]", std::nullopt},
        {"h - - [2026-12-09T10:00:00+00:00]", std::nullopt},
        {"h - - [09/Dec/2026:1a:00:00 +0000]", std::nullopt},
        {"h - - [09/Dec/2026:10:00:0", std::nullopt},
        {"h - - \"GET / HTTP/1.0\" 200 1", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(readOf(line), expected);
    }
    // One reader over all of them, each line after a readable one of the same
    // day, reads each as a reader of that line alone does.
    LogTimeReader reader(kLatestYear);
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        const auto time = logTimeOf(line, kLatestYear);
        if (line.size() > 18)
            reader.read("h - - [" + std::string(line.substr(line.find('[') + 1, 11)) +
                        ":00:00:00]");
        const auto read = reader.read(line);
        ASSERT_EQ(read.has_value(), time.has_value());
        if (read) {
            EXPECT_EQ(std::pair(read->day, read->hour), std::pair(time->day, time->hour));
        }
    }
}

// Day numbers count calendar days, across month, year and leap-day edges.
TEST(LogTime, DayNumbersCountCalendarDays) {
    const auto dayOf = [](std::string_view stamp) {
        return logTimeOf("h - - [" + std::string(stamp) + ":00:00:00 +0000]", kLatestYear)->day;
    };
    EXPECT_EQ(dayOf("01/Jan/1990"), 7305);
    EXPECT_EQ(dayOf("01/Mar/2024") - dayOf("28/Feb/2024"), 2);
    EXPECT_EQ(dayOf("01/Mar/2023") - dayOf("28/Feb/2023"), 1);
    EXPECT_EQ(dayOf("01/Jan/2027") - dayOf("31/Dec/2026"), 1);
    EXPECT_EQ(dayOf("09/dec/2026"), dayOf("09/DEC/2026"));
    for (const std::string_view day : {"01/Jan/1990", "29/Feb/2024", "09/Dec/2026", "31/Dec/2027"})
        EXPECT_EQ(dayTextOf(dayOf(day)), day);
}

} // namespace
} // namespace statvane
