#include "analysis/analysis_result.h"
#include "platform/false_restrict_warning.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

std::vector<std::pair<std::string, std::int32_t>> keysAndCounts(const TallyTable& table) {
    std::vector<std::pair<std::string, std::int32_t>> out;
    for (const auto& row : table.rows())
        out.emplace_back(row.key(), row.count);
    return out;
}

TEST(TallyTable, KeepsFirstSpellingAndFirstOccurrenceOrder) {
    TallyTable table;
    for (const char* key : {"Index.html", "b", "index.html", "INDEX.HTML", "B", "c"})
        table.tally(key);
    EXPECT_EQ(keysAndCounts(table), (std::vector<std::pair<std::string, std::int32_t>>{
                                        {"Index.html", 3}, {"b", 2}, {"c", 1}}));
}

TEST(TallyTable, StaysConsistentAfterRemovingAndSorting) {
    TallyTable table;
    for (const char* key : {"a", "b", "b", "c", "c", "c"})
        table.tally(key);
    table.removeIf([](const TallyRow& row) { return row.key() == "b"; });
    table.stableSort([](const TallyRow& x, const TallyRow& y) { return x.count > y.count; });
    table.tally("A");
    table.tally("b");
    EXPECT_EQ(keysAndCounts(table),
              (std::vector<std::pair<std::string, std::int32_t>>{{"c", 3}, {"a", 2}, {"b", 1}}));
}

TEST(AnalysisResult, PercentagesAreSharesOfEachTablesOwnSum) {
    AnalysisResult result;
    for (const char* key : {"x", "y", "z"})
        result.referrers.tally(key);
    result.topPages.tally("only");
    result.topPages.tally("only");
    result.computePercentages();
    for (std::size_t row = 0; row < result.referrers.size(); ++row)
        EXPECT_EQ(result.referrers.percent(row), "33.3333333333333");
    EXPECT_EQ(result.topPages.percent(0), "100");
    EXPECT_TRUE(result.browsers.empty());
}

TEST(AnalysisResult, ByteFiguresAndTitle) {
    AnalysisResult result;
    result.logFileCount = 2;
    result.setBytes(5000);
    EXPECT_EQ(result.bytesTotal, 5000);
    EXPECT_EQ(result.bytesAverage, 2500);
    EXPECT_EQ(result.kilobytesTotal, 4.8828125);
    EXPECT_EQ(result.megabytesTotal, 0.00476837158203125);
    EXPECT_EQ(result.kilobytesAverage, 2500.0 / 1024);
    EXPECT_EQ(result.megabytesAverage, 2500.0 / 1048576);
    result.firstDate = "06/Dec/1999";
    result.lastDate = "07/Dec/1999";
    EXPECT_EQ(result.title(), "Report Profile - 06/Dec/1999 to 07/Dec/1999");
}

TEST(AnalysisResult, ResetForgetsTheLastRun) {
    AnalysisResult result;
    result.hits = 10;
    result.uniqueVisitors = 3;
    result.setBytes(1);
    result.visitors = {"a"};
    result.browsers.tally("Mozilla");
    STATVANE_FALSE_RESTRICT_BEGIN
    result.firstDate = "x";
    STATVANE_FALSE_RESTRICT_END
    result.reset();
    EXPECT_EQ(result.hits, 0);
    EXPECT_FALSE(result.uniqueVisitors);
    EXPECT_FALSE(result.bytesTotal);
    EXPECT_FALSE(result.megabytesAverage);
    EXPECT_TRUE(result.visitors.empty());
    EXPECT_TRUE(result.browsers.empty());
    EXPECT_FALSE(result.browsers.find("mozilla"));
    EXPECT_EQ(result.firstDate, "");
}

} // namespace
} // namespace statvane
