#include "analysis/robot_matcher.h"
#include "steps_fixture.h"
#include "support/tally_rows.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using test::Rows;
using test::rowsOf;

// Two robots (one by a substring, one by a whole-text wildcard, in another
// letter case) among three ordinary lines and one without an agent.
const std::string kGoogle = test::combined("g.example", "GET /a HTTP/1.0", "-", "Googlebot/2.1");
const std::string kCrawler = test::combined("c.example", "GET /b HTTP/1.0", "-", "A CRAWLER");
const std::string kFirefox = test::combined("f.example", "GET /a HTTP/1.0", "-", "Firefox/120.0");
const std::string kSafari = test::combined("s.example", "GET /c HTTP/1.0", "-", "Safari/17");
const std::string kNoAgent = "n.example - - [06/Dec/1999:10:15:32 -0500] \"GET /d HTTP/1.0\" 200 1";

TEST(RobotLines, RobotsCountAsTheChoiceSaysAndTheirAgentsAreListed) {
    const RobotMatcher matcher({"googlebot", "*crawler*"});
    struct Case {
        RobotLines choice;
        std::size_t lines;
        Rows visitors;
        Rows robots;
    };
    const Case cases[] = {
        {RobotLines::Include,
         6u,
         {{"g.example", 2}, {"c.example", 1}, {"f.example", 1}, {"s.example", 1}, {"n.example", 1}},
         {}},
        {RobotLines::Exclude,
         3u,
         {{"f.example", 1}, {"s.example", 1}, {"n.example", 1}},
         {{"Googlebot/2.1", 2}, {"A CRAWLER", 1}}},
        {RobotLines::Only,
         3u,
         {{"g.example", 2}, {"c.example", 1}},
         {{"Googlebot/2.1", 2}, {"A CRAWLER", 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.choice));
        PassSelection selection;
        selection.visitors = true;
        selection.robots = c.choice;
        selection.robotMatcher = &matcher;
        const PassTotals totals =
            test::countLines({kGoogle, kCrawler, kFirefox, kGoogle, kSafari, kNoAgent}, selection);
        EXPECT_EQ(totals.lines, c.lines);
        EXPECT_EQ(totals.periodLines, 6u);
        EXPECT_EQ(totals.files[0].lines, 6u);
        EXPECT_EQ(rowsOf(totals.visitors), c.visitors);
        EXPECT_EQ(rowsOf(totals.robots), c.robots);
    }
}

TEST(RobotLines, AgentIsTheBrowserTextWithoutItsQuotes) {
    const std::pair<std::string_view, std::optional<std::string_view>> cases[] = {
        {"h \"GET / HTTP/1.0\" 200 1 \"-\" \"Agent/1.0\"", "Agent/1.0"},
        {"h \"GET / HTTP/1.0\" 200 1 \"-\"   \"Agent \\\"x\\\"\"", "Agent \\\"x\\\""},
        {"h \"GET / HTTP/1.0\" 200 1 \"-\" Agent", "Agent"},
        {"h \"GET / HTTP/1.0\" 200 1 \"-\" \"", "\""},
        {"h \"GET / HTTP/1.0\" 200 1 \"-\"", ""},
        {"h \"GET / HTTP/1.0\" 200 1", std::nullopt},
    };
    for (const auto& [line, agent] : cases)
        EXPECT_EQ(agentOf(line), agent) << line;
}

} // namespace
} // namespace statvane
