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

// Ten lines: two without a readable time stamp, one without a status code.
TrafficFigures tenLinesOverTime() {
    TrafficFigures traffic;
    traffic.days = {{"28/Feb/2024", 3, 2}, {"29/Feb/2024", 0, 0}, {"01/Mar/2024", 5, 1}};
    traffic.hours[0] = 2;
    traffic.hours[13] = 6;
    traffic.undated = 2;
    traffic.undatedVisitors = 1;
    return traffic;
}

StatusFigures tenLinesByStatus() {
    StatusFigures status;
    status.codes = {{200, 6}, {404, 3}};
    status.uncoded = 1;
    status.notFound.tally("http://site/.env", 2);
    status.notFound.tally("http://site/x", 1);
    return status;
}

const std::string kTrafficSections =
    "------> Traffic by Day <------\r\n\r\nDay, Hits, Visitors\r\n"
    "28/Feb/2024,3,2\r\n29/Feb/2024,0,0\r\n01/Mar/2024,5,1\r\n(no date),2,1\r\n\r\n"
    "------> Hits by Hour <------\r\n\r\nHour, Number, Percentage\r\n"
    "00,2,20\r\n"
    "01,0,0\r\n"
    "02,0,0\r\n"
    "03,0,0\r\n"
    "04,0,0\r\n"
    "05,0,0\r\n"
    "06,0,0\r\n"
    "07,0,0\r\n"
    "08,0,0\r\n"
    "09,0,0\r\n"
    "10,0,0\r\n"
    "11,0,0\r\n"
    "12,0,0\r\n"
    "13,6,60\r\n"
    "14,0,0\r\n"
    "15,0,0\r\n"
    "16,0,0\r\n"
    "17,0,0\r\n"
    "18,0,0\r\n"
    "19,0,0\r\n"
    "20,0,0\r\n"
    "21,0,0\r\n"
    "22,0,0\r\n"
    "23,0,0\r\n"
    "(no date),2,20\r\n";

const std::string kStatusSections =
    "------> Status Codes <------\r\n\r\nStatus, Number, Percentage\r\n"
    "200,6,60\r\n404,3,30\r\n(none),1,10\r\n\r\n"
    "------> Pages Not Found <------\r\n\r\nWeb Address, Number, Percentage\r\n"
    "http://site/.env,2,66.6666666666667\r\nhttp://site/x,1,33.3333333333333\r\n";

// The new sections follow the browser rows after an empty line, each ends
// with one unless it is the file's last, and an empty table (no server
// errors here) has no section.
TEST_F(ReportWriterTest, TrafficAndStatusSectionsFollowTheBrowserList) {
    result.browsers.tally(" \"Agent\"");
    result.traffic = tenLinesOverTime();
    result.status = tenLinesByStatus();
    result.computePercentages();
    writeReport(result, settings, dir / "report.txt");
    EXPECT_EQ(test::readFile(dir / "report.txt"),
              kSummaryHitsOnly +
                  "------> Browser List <------\r\n\r\nBrowser, Number, Percentage\r\n"
                  " \"Agent\",1,100\r\n\r\n" +
                  kTrafficSections + "\r\n" + kStatusSections);
}

// The robots' agents follow the browsers, highest count first, with their
// share of the lines the robot choice was made on, and before the traffic.
TEST_F(ReportWriterTest, RobotsFollowTheBrowserList) {
    result.browsers.tally(" \"Agent\"");
    result.robots.emplace();
    result.robots->tally("Bingbot", 1);
    result.robots->tally("Googlebot/2.1", 3);
    result.robots->computePercentagesOf(8);
    result.traffic = tenLinesOverTime();
    result.computePercentages();
    writeReport(result, settings, dir / "report.txt");
    EXPECT_EQ(test::readFile(dir / "report.txt"),
              kSummaryHitsOnly +
                  "------> Browser List <------\r\n\r\nBrowser, Number, Percentage\r\n"
                  " \"Agent\",1,100\r\n\r\n"
                  "------> Robots <------\r\n\r\nRobot, Number, Percentage\r\n"
                  "Googlebot/2.1,3,37.5\r\nBingbot,1,12.5\r\n\r\n" +
                  kTrafficSections);
}

TEST_F(ReportWriterTest, EachNewSectionAloneEndsTheFile) {
    result.traffic = tenLinesOverTime();
    writeReport(result, settings, dir / "report.txt");
    EXPECT_EQ(test::readFile(dir / "report.txt"), kSummaryHitsOnly + kTrafficSections);

    result.traffic.reset();
    result.status = tenLinesByStatus();
    result.status->serverErrors.tally("http://site/cgi", 4);
    result.computePercentages();
    writeReport(result, settings, dir / "report.txt");
    EXPECT_EQ(test::readFile(dir / "report.txt"),
              kSummaryHitsOnly + kStatusSections +
                  "\r\n------> Server Errors <------\r\n\r\nWeb Address, Number, Percentage\r\n"
                  "http://site/cgi,4,100\r\n");
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
