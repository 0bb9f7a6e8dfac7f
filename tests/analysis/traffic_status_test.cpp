#include "analysis/log_pass.h"
#include "analysis/status_figures.h"
#include "analysis/traffic_figures.h"
#include "line_reading.h"
#include "steps_fixture.h"
#include "support/tally_rows.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using test::Rows;
using test::rowsOf;
using Codes = std::vector<std::pair<int, std::int64_t>>;

constexpr int kLatestYear = 2025;

PassSelection trafficAndStatus() {
    PassSelection selection;
    selection.traffic = selection.status = true;
    selection.webSite = "http://www.example.com";
    selection.latestYear = kLatestYear;
    return selection;
}

std::string line(std::string_view host, std::string_view stamp, std::string_view request,
                 std::string_view status) {
    return std::string(host) + " - - " + std::string(stamp) + " \"" + std::string(request) + "\" " +
           std::string(status) + " 100 \"-\" \"Agent\"\n";
}

// A newer log read before an older one, so that days go backwards between
// the files.
const std::string kNewer =
    line("a.example", "[27/Feb/2024:23:59:59 +0100]", "GET /index.html HTTP/1.1", "200") +
    line("A.EXAMPLE", "[28/Feb/2024:00:00:00 +0100]", "GET /wp-login.php HTTP/1.1", "404") +
    line("b.example", "[28/Feb/2024:00:30:00 +0100]", "GET /.env HTTP/1.1", "404") +
    line("a.example", "[28/feb/2024:01:00:00 +0100]", "POST /wp-login.php HTTP/1.1", "404") +
    line("c.example", "[29/Feb/2024:10:00:00 +0100]", "GET /cgi-bin/x HTTP/1.1", "500") +
    line("c.example", "[29/Feb/2024:10:05:00 +0100]", "GET /cgi-bin/x HTTP/1.1", "502") +
    line("d.example", "[02/Mar/2024:10:10:00 +0100]", "GET /wp-login.php HTTP/1.1", "404") +
    line("d.example", "[02/Mar/2024:23:10:00 +0100]", "GET /a\"b HTTP/1.1", "200") +
    line("e.example", "[29/Feb/2023:10:00:00 +0100]", "GET / HTTP/1.1", "200") +
    line("e.example", "[02/Mar/2024:25:00:00 +0100]", "GET / HTTP/1.1", "-") +
    line("e.example", "", "GET / HTTP/1.1", "200") +
    line("f.example", "[32/Mar/2024:10:00:00 +0100]", "GET /.ENV HTTP/1.1", "404");
const std::string kOlder =
    line("g.example", "[25/Feb/2024:08:00:00 +0100]", "GET / HTTP/1.1", "304") +
    line("G.example", "[25/Feb/2024:08:15:00 +0100]", "GET /index.html HTTP/1.1", "0") +
    line("h.example", "[25/Feb/2024:09:00:00 +0100]", "HEAD / HTTP/1.1", "2000") +
    line("h.example", "[27/Feb/2024:23:00:00 +0100]", "GET /phpmyadmin HTTP/1.1", "404") +
    line("a.example", "[27/Feb/2024:08:00:00 +0100]", "GET / HTTP/1.1", "200") +
    line("i.example", "[01/13/2024:10:00:00 +0100]", "GET / HTTP/1.1", "") +
    line("j.example", "[01/Jan/1989:10:00:00 +0100]", "GET /api HTTP/1.1", "503") +
    line("j.example", "[01/Jan/2026:10:00:00 +0100]", "GET / HTTP/1.1", "200");

HourCounts hoursOf(std::initializer_list<std::pair<int, std::int64_t>> counted) {
    HourCounts hours{};
    for (const auto& [hour, hits] : counted)
        hours[static_cast<std::size_t>(hour)] = hits;
    return hours;
}

class TrafficStatusTest : public ::testing::Test, public test::StepsFixture {
  protected:
    PassTotals pass(const PassSelection& selection, PassSettings settings) {
        std::vector<std::filesystem::path> files;
        for (const auto& [name, bytes] :
             {std::pair("access.log", kNewer), {"access.log.1", kOlder}}) {
            test::writeFile(dir / name, bytes);
            files.push_back(dir / name);
        }
        PassTotals totals;
        CheckPoints checks(observer, 1);
        EXPECT_EQ(runLogPass(files, selection, totals, checks, settings).status,
                  PassEnd::Status::Done);
        return totals;
    }

    test::TempDir dir;
};

// Every line counts once in each table: on its day and hour or as undated,
// under its code or as uncoded. Days run in calendar order from the first to
// the last readable one, with the empty days between; a day's visitors are
// its distinct addresses ignoring case, across files.
TEST_F(TrafficStatusTest, FiguresOfTwoFilesOnAnyThreadsAndBlocks) {
    const std::vector<DayFigures> days = {
        {"25/Feb/2024", 3, 2}, {"26/Feb/2024", 0, 0}, {"27/Feb/2024", 3, 2}, {"28/Feb/2024", 3, 2},
        {"29/Feb/2024", 2, 1}, {"01/Mar/2024", 0, 0}, {"02/Mar/2024", 2, 1},
    };
    const HourCounts hours = hoursOf({{0, 2}, {1, 1}, {8, 3}, {9, 1}, {10, 3}, {23, 3}});
    const Codes codes = {{200, 6}, {304, 1}, {404, 6}, {500, 1}, {502, 1}, {503, 1}};
    const Rows notFound = {{"http://www.example.com/wp-login.php", 2},
                           {"http://www.example.com/.env", 2},
                           {"http://www.example.com/phpmyadmin", 1}};
    const Rows serverErrors = {{"http://www.example.com/cgi-bin/x", 2},
                               {"http://www.example.com/api", 1}};
    PassSelection withVisitors = trafficAndStatus();
    withVisitors.visitors = true;
    for (const auto& [threads, blockSize, selection] :
         {std::tuple(std::size_t{1}, std::size_t{1}, trafficAndStatus()),
          {1, 65536, trafficAndStatus()},
          {2, 7, trafficAndStatus()},
          {8, 100, trafficAndStatus()},
          {1, 65536, withVisitors},
          {2, 7, withVisitors},
          {8, 1, withVisitors}}) {
        SCOPED_TRACE(testing::Message() << threads << " threads, blocks of " << blockSize
                                        << (selection.visitors ? ", visitors counted" : ""));
        const PassTotals totals = pass(selection, {threads, blockSize});
        const TrafficFigures traffic = trafficFigures(totals);
        EXPECT_EQ(traffic.days, days);
        EXPECT_EQ(traffic.hours, hours);
        EXPECT_EQ(traffic.undated, 7);
        EXPECT_EQ(traffic.undatedVisitors, 4);
        const StatusFigures status = statusFigures(totals);
        EXPECT_EQ(status.codes, codes);
        EXPECT_EQ(status.uncoded, 4);
        EXPECT_EQ(rowsOf(status.notFound), notFound);
        EXPECT_EQ(rowsOf(status.serverErrors), serverErrors);
    }
}

// With a period only the lines of its days count anywhere, hits included;
// lines without a readable time stamp count nowhere. Each file still reports
// every line it holds.
TEST_F(TrafficStatusTest, APeriodLeavesOutTheLinesOfOtherDays) {
    const auto dayOf = [](std::string_view stamp) {
        return logTimeOf("h - - [" + std::string(stamp) + ":00:00:00 +0000]", kLatestYear)->day;
    };
    PassSelection selection = trafficAndStatus();
    selection.period = DayRange{dayOf("27/Feb/2024"), dayOf("28/Feb/2024")};
    for (const std::size_t threads : {1, 2}) {
        const PassTotals totals = pass(selection, {threads, 7});
        EXPECT_EQ(totals.lines, 6u);
        EXPECT_EQ(totals.firstDate, "27/Feb/2024");
        EXPECT_EQ(totals.lastDate, "27/Feb/2024");
        ASSERT_EQ(totals.files.size(), 2u);
        EXPECT_EQ(totals.files[0].lines, 12u);
        EXPECT_EQ(totals.files[1].lines, 8u);
        const TrafficFigures traffic = trafficFigures(totals);
        EXPECT_EQ(traffic.days,
                  (std::vector<DayFigures>{{"27/Feb/2024", 3, 2}, {"28/Feb/2024", 3, 2}}));
        EXPECT_EQ(traffic.hours, hoursOf({{0, 2}, {1, 1}, {8, 1}, {23, 2}}));
        EXPECT_EQ(traffic.undated, 0);
        const StatusFigures status = statusFigures(totals);
        EXPECT_EQ(status.codes, (Codes{{200, 2}, {404, 4}}));
        EXPECT_EQ(status.uncoded, 0);
        EXPECT_EQ(rowsOf(status.notFound), (Rows{{"http://www.example.com/wp-login.php", 1},
                                                 {"http://www.example.com/.env", 1},
                                                 {"http://www.example.com/phpmyadmin", 1}}));
    }
}

TEST_F(TrafficStatusTest, NothingIsCountedWhenNotSelected) {
    PassSelection selection = trafficAndStatus();
    selection.traffic = selection.status = false;
    const PassTotals totals = pass(selection, {2, 7});
    EXPECT_TRUE(totals.days.empty());
    EXPECT_EQ(totals.hours, HourCounts{});
    EXPECT_EQ(totals.undated, 0);
    EXPECT_EQ(totals.statuses, StatusCounts{});
    EXPECT_EQ(totals.uncoded, 0);
    EXPECT_TRUE(totals.notFound.empty());
    EXPECT_TRUE(totals.serverErrors.empty());
}

TEST(TrafficFigures, NoReadableDayGivesNoDays) {
    PassTotals totals;
    totals.undated = 3;
    const TrafficFigures traffic = trafficFigures(totals);
    EXPECT_TRUE(traffic.days.empty());
    EXPECT_EQ(traffic.undated, 3);
}

} // namespace
} // namespace statvane
