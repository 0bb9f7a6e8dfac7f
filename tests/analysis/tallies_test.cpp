#include "analysis/tallies.h"
#include "steps_fixture.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using test::combined;
using test::countLines;

std::vector<std::pair<std::string, std::int32_t>> rowsOf(const TallyTable& table) {
    std::vector<std::pair<std::string, std::int32_t>> rows;
    for (const auto& row : table.rows())
        rows.emplace_back(row.key(), row.count);
    return rows;
}
using Rows = std::vector<std::pair<std::string, std::int32_t>>;

class TalliesTest : public ::testing::Test, public test::StepsFixture {
  protected:
    AnalysisResult result;
};

PassSelection referrersFiltered(std::vector<std::string> filters) {
    PassSelection selection;
    selection.referrers = true;
    selection.referrerFilters = std::move(filters);
    return selection;
}

TEST_F(TalliesTest, ReferrersAreLowerCasedFilteredAndAtLeastThreeCharacters) {
    const auto count = [](const std::vector<std::string>& filters) {
        return countLines(
            {
                combined("h", "GET / HTTP/1.0", "http://192.0.2.1/Links", "A"),
                combined("h", "GET / HTTP/1.0", "http://192.0.2.1/links", "A"),
                combined("h", "GET / HTTP/1.0", "-", "A"),
                combined("h", "GET / HTTP/1.0", "ab", "A"),
                combined("h", "GET / HTTP/1.0", "abc", "A"),
                combined("h", "GET / HTTP/1.0", "http://spam.example/", "A"),
                combined("h", "GET / HTTP/1.0", "http://SPAM.example/", "A"),
                "h - - [d:t] \"GET / HTTP/1.0\" 200 1",
            },
            referrersFiltered(filters));
    };
    ASSERT_TRUE(presentTally(kReferrersStep, count({"spam", "Links"}).referrers, result.referrers,
                             checkPoints, 22));
    EXPECT_EQ(rowsOf(result.referrers), (Rows{{"http://192.0.2.1/links", 2}, {"abc", 1}}));
    EXPECT_EQ(observer.steps, std::vector<std::string>{"Tallying Referrer Sites..."});
    EXPECT_EQ(observer.position, 22);
    EXPECT_EQ(observer.counts.back(), "2");

    EXPECT_EQ(rowsOf(count({"links"}).referrers), (Rows{{"abc", 1}, {"http://spam.example/", 2}}));
}

TEST_F(TalliesTest, PagesAreAddressesOnTheWebSite) {
    const auto count = [](const std::string& webSite) {
        PassSelection selection;
        selection.pages = true;
        selection.webSite = webSite;
        return countLines(
            {
                combined("h", "GET / HTTP/1.0", "-", "-"),
                combined("h", "GET /index.html HTTP/1.0", "-", "-"),
                combined("h", "GET /index.html/ HTTP/1.0", "-", "-"),
                combined("h", "GET /a HTTP/1.0", "-", "-"),
                combined("h", "POST /form HTTP/1.0", "-", "-"),
                combined("h", "GET /Index.html HTTP/1.0", "-", "-"),
                combined("h", "GET  HTTP/1.0", "-", "-"),
            },
            selection);
    };
    ASSERT_TRUE(presentTally(kPagesStep, count("http://www.example.com").pages, result.topPages,
                             checkPoints, 30));
    EXPECT_EQ(rowsOf(result.topPages), (Rows{{"http://www.example.com/", 1},
                                             {"http://www.example.com/index.html", 3},
                                             {"http://www.example.com/a", 1},
                                             {"http://www.example.com", 1}}));
    EXPECT_EQ(observer.steps, std::vector<std::string>{"Calculating Top Pages..."});

    EXPECT_EQ(rowsOf(count("").pages), (Rows{{"/", 1}, {"/index.html", 3}, {"/a", 1}}));
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
    PassSelection selection;
    selection.browsers = true;
    const auto totals = countLines(
        {
            combined("h", "GET / HTTP/1.0", "-", "Mozilla/4.0"),
            combined("h", "GET / HTTP/1.0", "-", "MOZILLA/4.0"),
            combined("h", "GET / HTTP/1.0", "-", "-"),
            combined("h", "GET / HTTP/1.0", "-", "ab"),
            combined("h", "GET / HTTP/1.0", "-", "abc"),
            "h - - [d:t] \"GET / HTTP/1.0\" 200 1",
        },
        selection);
    EXPECT_EQ(rowsOf(totals.browsers), (Rows{{" \"Mozilla/4.0\"", 2}, {" \"abc\"", 1}}));
}

TEST_F(TalliesTest, CancelStopsAStepAtItsCheckPoint) {
    observer.cancel = true;
    TallyTable counted;
    counted.tally("abc");
    EXPECT_FALSE(presentTally(kBrowsersStep, counted, result.browsers, checkPoints, 1));
    EXPECT_EQ(observer.steps, std::vector<std::string>{"Gathering Browser Types..."});
}

} // namespace
} // namespace statvane
