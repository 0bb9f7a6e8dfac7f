#include "analysis/tallies.h"
#include "steps_fixture.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using test::combined;
using test::makeLines;

std::vector<std::pair<std::string, std::int32_t>> rowsOf(const TallyTable& table) {
    std::vector<std::pair<std::string, std::int32_t>> rows;
    for (const auto& row : table.rows())
        rows.emplace_back(row.key, row.count);
    return rows;
}
using Rows = std::vector<std::pair<std::string, std::int32_t>>;

class TalliesTest : public ::testing::Test, public test::StepsFixture {
  protected:
    AnalysisResult result;
};

TEST_F(TalliesTest, ReferrersAreLowerCasedFilteredAndAtLeastThreeCharacters) {
    const std::string lines[] = {
        combined("h", "GET / HTTP/1.0", "http://192.0.2.1/Links", "A"),
        combined("h", "GET / HTTP/1.0", "http://192.0.2.1/links", "A"),
        combined("h", "GET / HTTP/1.0", "-", "A"),
        combined("h", "GET / HTTP/1.0", "ab", "A"),
        combined("h", "GET / HTTP/1.0", "abc", "A"),
        combined("h", "GET / HTTP/1.0", "http://spam.example/", "A"),
        "h - - [d:t] \"GET / HTTP/1.0\" 200 1",
    };
    const auto logLines =
        makeLines({lines[0], lines[1], lines[2], lines[3], lines[4], lines[5], lines[6]});
    ASSERT_TRUE(tallyReferrers(logLines, result, {"spam", "Links"}, checkPoints, 22));
    EXPECT_EQ(rowsOf(result.referrers), (Rows{{"http://192.0.2.1/links", 2}, {"abc", 1}}));
    EXPECT_EQ(observer.steps, std::vector<std::string>{"Tallying Referrer Sites..."});
    EXPECT_EQ(observer.position, 22);
    EXPECT_EQ(observer.counts.back(), "2");

    ASSERT_TRUE(tallyReferrers(logLines, result, {"links"}, checkPoints, 0));
    EXPECT_EQ(rowsOf(result.referrers), (Rows{{"abc", 1}, {"http://spam.example/", 1}}));
}

TEST_F(TalliesTest, PagesAreAddressesOnTheWebSite) {
    const auto lines = makeLines({
        combined("h", "GET / HTTP/1.0", "-", "-"),
        combined("h", "GET /index.html HTTP/1.0", "-", "-"),
        combined("h", "GET /index.html/ HTTP/1.0", "-", "-"),
        combined("h", "GET /a HTTP/1.0", "-", "-"),
        combined("h", "POST /form HTTP/1.0", "-", "-"),
        combined("h", "GET /Index.html HTTP/1.0", "-", "-"),
    });
    ASSERT_TRUE(tallyPages(lines, result, "http://www.example.com", checkPoints, 30));
    EXPECT_EQ(rowsOf(result.topPages), (Rows{{"http://www.example.com/", 1},
                                             {"http://www.example.com/index.html", 3},
                                             {"http://www.example.com/a", 1}}));
    EXPECT_EQ(observer.steps, std::vector<std::string>{"Calculating Top Pages..."});

    ASSERT_TRUE(tallyPages(lines, result, "", checkPoints, 30));
    EXPECT_EQ(rowsOf(result.topPages), (Rows{{"/", 1}, {"/index.html", 3}, {"/a", 1}}));
}

TEST_F(TalliesTest, PageFilterRemovesEveryRowContainingAnEntry) {
    for (const char* key : {"/a/1", "/a/2", "/b", "/c"})
        result.topPages.tally(key);
    filterPages(result, {"/a/", "/C"});
    EXPECT_EQ(rowsOf(result.topPages), (Rows{{"/b", 1}, {"/c", 1}}));
    filterPages(result, {""});
    EXPECT_TRUE(result.topPages.empty());
}

TEST_F(TalliesTest, BrowsersIgnoreCaseAndTextsShorterThanSix) {
    const auto lines = makeLines({
        combined("h", "GET / HTTP/1.0", "-", "Mozilla/4.0"),
        combined("h", "GET / HTTP/1.0", "-", "MOZILLA/4.0"),
        combined("h", "GET / HTTP/1.0", "-", "-"),
        combined("h", "GET / HTTP/1.0", "-", "ab"),
        combined("h", "GET / HTTP/1.0", "-", "abc"),
        "h - - [d:t] \"GET / HTTP/1.0\" 200 1",
    });
    ASSERT_TRUE(tallyBrowsers(lines, result, checkPoints, 12));
    EXPECT_EQ(rowsOf(result.browsers), (Rows{{" \"Mozilla/4.0\"", 2}, {" \"abc\"", 1}}));
    EXPECT_EQ(observer.steps, std::vector<std::string>{"Gathering Browser Types..."});
}

TEST_F(TalliesTest, CancelStopsAStepAtItsNextCheckPoint) {
    const auto lines = makeLines({combined("h", "GET / HTTP/1.0", "abc", "Agent1")});
    observer.cancel = true;
    EXPECT_FALSE(tallyReferrers(lines, result, {}, checkPoints, 1));
    EXPECT_FALSE(tallyPages(lines, result, "", checkPoints, 1));
    EXPECT_FALSE(tallyBrowsers(lines, result, checkPoints, 1));
}

} // namespace
} // namespace statvane
