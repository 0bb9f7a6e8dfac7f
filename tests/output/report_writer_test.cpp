#include "output/compare_rows.h"
#include "output/report_writer.h"
#include "platform/error.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

const std::string kSummaryHitsOnly = "Statvane\r\n"
                                     "Report Profile - 06/Dec/1999 to 07/Dec/1999\r\n"
                                     "\r\n"
                                     "------> Summary & Totals <------\r\n"
                                     "\r\n"
                                     "Total Number of Hits:  10\r\n"
                                     "Average Number of Hits:  3\r\n"
                                     "\r\n"
                                     "Total Number of Unique Visitors:  Not Selected\r\n"
                                     "Average Number of Unique Visitors:  Not Selected\r\n"
                                     "\r\n"
                                     "Total Number of Referral Sites:  Not Selected\r\n"
                                     "Average Number of Referral Sites:  Not Selected\r\n"
                                     "\r\n"
                                     "Total Bytes Transferred:  Not Selected\r\n"
                                     "   - in Kilobytes (K):  Not Selected\r\n"
                                     "   - in Megabytes (MB):  Not Selected\r\n"
                                     "Average Bytes Transferred: Not Selected\r\n"
                                     "   - in Kilobytes (K):  Not Selected\r\n"
                                     "   - in Megabytes (MB):  Not Selected\r\n"
                                     "\r\n";

class ReportWriterTest : public ::testing::Test {
  protected:
    ReportWriterTest() {
        result.logFileCount = 3;
        result.hits = 10;
        result.hitsAverage = 3;
        result.firstDate = "06/Dec/1999";
        result.lastDate = "07/Dec/1999";
    }

    test::TempDir dir;
    Registry registry{dir / "registry.reg"};
    SettingsStore settings{registry};
    AnalysisResult result;
};

TEST_F(ReportWriterTest, HitsOnlyGivesTheSummaryBlock) {
    writeReport(result, settings, dir / "report.txt");
    EXPECT_EQ(test::readFile(dir / "report.txt"), kSummaryHitsOnly);
    EXPECT_EQ(settings.readSortIndex(), 1);
}

TEST_F(ReportWriterTest, SectionsAreSortedByCountAndWrittenExactly) {
    result.visitors = {"10.0.0.1", "host.example"};
    result.uniqueVisitors = 2;
    result.visitorsAverage = 0;
    for (int i = 0; i < 5; ++i)
        result.referrers.tally("http://five.example/a,b");
    for (int i = 0; i < 9; ++i)
        result.referrers.tally("http://nine.example/");
    result.referralSites = 2;
    result.referralSitesAverage = 0;
    result.topPages.tally("http://site/");
    result.topPages.tally("http://site/b");
    result.browsers.tally(" \"Agent\"");
    result.setBytes(1536);
    result.computePercentages();

    writeReport(result, settings, dir / "report.txt");
    const std::string expected =
        "Statvane\r\nReport Profile - 06/Dec/1999 to 07/Dec/1999\r\n\r\n"
        "------> Summary & Totals <------\r\n\r\n"
        "Total Number of Hits:  10\r\nAverage Number of Hits:  3\r\n\r\n"
        "Total Number of Unique Visitors:  2\r\nAverage Number of Unique Visitors:  0\r\n\r\n"
        "Total Number of Referral Sites:  2\r\nAverage Number of Referral Sites:  0\r\n\r\n"
        "Total Bytes Transferred:  1536\r\n"
        "   - in Kilobytes (K):  1.5\r\n"
        "   - in Megabytes (MB):  0.00146484375\r\n"
        "Average Bytes Transferred: 512\r\n"
        "   - in Kilobytes (K):  0.5\r\n"
        "   - in Megabytes (MB):  0.00048828125\r\n\r\n"
        "------> Visitors List <------\r\n\r\n10.0.0.1\r\nhost.example\r\n\r\n"
        "------> Referrer List <------\r\n\r\nWeb Address, Number, Percentage\r\n"
        "http://nine.example/,9,64.2857142857143\r\n"
        "http://five.example/a,b,5,35.7142857142857\r\n\r\n"
        "------> Top Pages <------\r\n\r\nWeb Address, Number, Percentage\r\n"
        "http://site/,1,50\r\nhttp://site/b,1,50\r\n\r\n"
        "------> Browser List <------\r\n\r\nBrowser, Number, Percentage\r\n"
        " \"Agent\",1,100\r\n";
    EXPECT_EQ(test::readFile(dir / "report.txt"), expected);
    EXPECT_EQ(result.referrers.rows().front().key(), "http://nine.example/");

    // Writing again replaces the file with the same bytes.
    test::writeFile(dir / "report.txt", std::string(100000, 'x'));
    writeReport(result, settings, dir / "report.txt");
    EXPECT_EQ(test::readFile(dir / "report.txt"), expected);
}

Error writeError(AnalysisResult& result, SettingsStore& settings,
                 const std::filesystem::path& file) {
    try {
        writeReport(result, settings, file);
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "expected an error";
    return Error("");
}

TEST_F(ReportWriterTest, FileThatCannotBeCreated) {
    const auto path = dir / "missing" / "report.txt";
    const Error error = writeError(result, settings, path);
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + path.string());
    EXPECT_EQ(error.detail(), path.string() + ": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(settings.readSortIndex(), 1);
}

// A full disk: the previous report stays whole, and nothing else is left.
TEST_F(ReportWriterTest, WriteErrorLeavesThePreviousReport) {
    const auto path = dir / "report.txt";
    writeReport(result, settings, path);
    for (int i = 0; i < 1000; ++i)
        result.visitors.push_back("10.0.0." + std::to_string(i));
    const Error error = [&] {
        test::ScopedFileSizeLimit limit(4096);
        return writeError(result, settings, path);
    }();
    EXPECT_EQ(std::string(error.what()), "Stream write error");
    EXPECT_EQ(error.detail(), path.string() + ": File too large");
    EXPECT_EQ(test::readFile(path), kSummaryHitsOnly);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

// A report of many blocks, with a key longer than a block, reaches the file
// exactly as buildReport gives it, its tables sorted by count.
TEST_F(ReportWriterTest, LargeReportIsWrittenAsBuilt) {
    for (int i = 0; i < 3000; ++i)
        result.visitors.push_back("visitor-" + std::to_string(i) + ".example");
    for (int i = 0; i < 2000; ++i) {
        const std::string page = "http://site/page" + std::to_string(i);
        for (int count = 0; count <= i % 7; ++count)
            result.topPages.tally(page);
    }
    result.referrers.tally("http://long.example/" + std::string(70000, 'q'));
    result.referrers.tally("http://short.example/");
    result.referrers.tally("http://short.example/");
    result.browsers.tally("Agent");
    result.computePercentages();

    writeReport(result, settings, dir / "report.txt");
    const std::string written = test::readFile(dir / "report.txt");
    const std::string built = buildReport(result, settings);
    EXPECT_GT(built.size(), 200000u);
    EXPECT_TRUE(written == built);
}

TEST(CompareRows, ByKeyByCountOrNotAtAll) {
    const TallyRow a{"Zebra", 2}, b{"apple", 7}, c{"app", 7};
    EXPECT_LT(compareRows(0, a, b), 0); // "Z" before "a"
    EXPECT_GT(compareRows(0, b, c), 0); // a prefix comes first
    EXPECT_LT(compareRows(0, TallyRow{"a", 1}, TallyRow{"\xe9", 1}), 0);
    EXPECT_GT(compareRows(1, a, b), 0);
    EXPECT_EQ(compareRows(2, b, c), 0);
    EXPECT_LT(compareRows(5, b, a), 0);
    EXPECT_EQ(compareRows(-1, a, b), 0);

    TallyTable table;
    for (const char* key : {"x", "y", "y", "z", "z"})
        table.tally(key);
    sortRows(table, 1);
    EXPECT_EQ(table.rows()[0].key(), "y");
    EXPECT_EQ(table.rows()[1].key(), "z");
    EXPECT_EQ(table.rows()[2].key(), "x");
}

} // namespace
} // namespace statvane
