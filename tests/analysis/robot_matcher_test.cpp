#include "analysis/robot_matcher.h"
#include "analysis/robot_patterns.h"
#include "analysis/robot_verdicts.h"
#include "platform/ascii.h"
#include "platform/wildcard_search.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <random>

namespace statvane {
namespace {

struct MatchCase {
    std::vector<std::string> patterns;
    std::string agent;
    bool matches;
};

TEST(RobotMatcher, SubstringsAndWholeTextWildcardsIgnoringLetterCase) {
    const std::string tenThousand(10000, 'x');
    const MatchCase cases[] = {
        {{"Googlebot"}, "Mozilla/5.0 (compatible; Googlebot/2.1)", true},
        {{"googlebot"}, "GOOGLEBOT/2.1", true},
        {{"GoogleBot"}, "Googlebo", false},
        {{"bot"}, "Cubot", true},
        {{"zzz", "abc", "bcd"}, "xabx", false},
        {{"abcd", "bc"}, "xabcx", true}, // a shorter pattern inside a longer one
        {{"ab", "aab"}, "aaab", true},   // found after falling back
        {{"he", "she", "hers"}, "ushers", true},
        {{"Java*"}, "java/1.8", true}, // a wildcard matches the whole text
        {{"Java*"}, "Mozilla Java/1.8", false},
        {{"*bot"}, "somebot v2", false},
        {{"*bot*"}, "x BOT y", true},
        {{"*b?t*"}, "a bat", true},
        {{"*b?t*"}, "a bt", false},
        {{"*b?t*", "*c?t"}, "cut it", false},
        {{"a?c*"}, "abc", true},
        {{"a?c*"}, "ac", false},
        {{"a?c"}, "xa?cx", true}, // "?" in a substring is itself
        {{"a?c"}, "abc", false},
        {{"*"}, "", true},      // "*" alone matches every text
        {{"*??*"}, "a", false}, // all wildcards: by length alone
        {{"*??*"}, "ab", true},
        {{"bot"}, "", false},
        {{"longer than the agent"}, "longer", false},
        {{"*longer than the agent*"}, "longer", false},
        {{"\xff\xfe"}, "x\xff\xfey", true},                  // bytes are bytes
        {{"\xc3\x89t\xc3\xa9"}, "\xc3\xa9t\xc3\xa9", false}, // only ASCII letters fold
        {{"x*y"}, "x" + tenThousand + "y", true},
        {{"xy"}, tenThousand, false},
        {{}, "anything", false},
    };
    for (const auto& [patterns, agent, matches] : cases) {
        const RobotMatcher matcher(patterns);
        EXPECT_EQ(matcher.matches(agent), matches)
            << ::testing::PrintToString(patterns) << " " << agent.substr(0, 40);
    }
}

bool matchesOneByOne(const std::vector<std::string>& patterns, std::string_view agent) {
    const std::string folded = ascii::toLower(agent);
    for (const auto& pattern : patterns) {
        if (pattern.find('*') != std::string::npos
                ? wildcardMatchText(pattern, agent)
                : folded.find(ascii::toLower(pattern)) != std::string::npos)
            return true;
    }
    return false;
}

// Enough patterns that the deeper states have no full row of transitions.
TEST(RobotMatcher, ManyPatternsFindWhatEachPatternAloneFinds) {
    std::mt19937 random(25);
    const auto text = [&random](std::size_t length) {
        std::string made;
        for (std::size_t i = 0; i < length; ++i)
            made += "abcdefgABCDEFG/ ;"[random() % 17];
        return made;
    };
    std::vector<std::string> patterns;
    for (int i = 0; i < 20000; ++i)
        patterns.push_back(text(8 + random() % 8));
    // Appended piece by piece: GCC 12 takes "*" + string for overlapping
    // copies at -O3.
    for (int i = 0; i < 200; ++i) {
        std::string wildcard(1, '*');
        wildcard += text(6);
        wildcard += '?';
        wildcard += text(3);
        wildcard += '*';
        patterns.push_back(std::move(wildcard));
    }
    // A pattern, its letters in the other case, whole or short of its last byte.
    const auto nearly = [&random](std::string pattern) {
        std::erase(pattern, '*');
        std::replace(pattern.begin(), pattern.end(), '?', 'x');
        for (char& c : pattern)
            c = static_cast<char>(std::isalpha(static_cast<unsigned char>(c)) ? c ^ 0x20 : c);
        return random() % 2 ? pattern : pattern.substr(0, pattern.size() - 1);
    };
    const RobotMatcher matcher(patterns);
    int found = 0;
    for (int i = 0; i < 1000; ++i) {
        const std::string agent = text(random() % 30) +
                                  nearly(patterns[random() % patterns.size()]) +
                                  text(random() % 30);
        const bool expected = matchesOneByOne(patterns, agent);
        found += expected;
        ASSERT_EQ(matcher.matches(agent), expected) << agent;
    }
    EXPECT_GT(found, 100);
}

TEST(RobotMatcher, ShippedListTellsCrawlersFromBrowsers) {
    std::vector<std::string> patterns;
    ASSERT_FALSE(readRobotList(SHIPPED_ROBOT_LIST, true, patterns));
    const RobotMatcher matcher(patterns);
    const char* const crawlers[] = {
        "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)",
        "Mozilla/5.0 (compatible; bingbot/2.0; +http://www.bing.com/bingbot.htm)",
        "Mozilla/5.0 (compatible; YandexBot/3.0; +http://yandex.com/bots)",
        "Mozilla/5.0 (compatible; Baiduspider/2.0; +http://www.baidu.com/search/spider.html)",
        "DuckDuckBot/1.1; (+http://duckduckgo.com/duckduckbot.html)",
        "Mozilla/5.0 (compatible; AhrefsBot/7.0; +http://ahrefs.com/robot/)",
        "Mozilla/5.0 (compatible; SemrushBot/7~bl; +http://www.semrush.com/bot.html)",
        "Mozilla/5.0 AppleWebKit/537.36 (KHTML, like Gecko; compatible; GPTBot/1.1; "
        "+https://openai.com/gptbot)",
        "Mozilla/5.0 AppleWebKit/537.36 (KHTML, like Gecko; compatible; ClaudeBot/1.0; "
        "+claudebot@anthropic.com)",
        "CCBot/2.0 (https://commoncrawl.org/faq/)",
        "Mozilla/5.0 (compatible; UptimeRobot/2.0; http://www.uptimerobot.com/)",
        "Pingdom.com_bot_version_1.4_(http://www.pingdom.com/)",
        "Feedly/1.0 (+http://www.feedly.com/fetcher.html; 5 subscribers)",
        "curl/8.5.0",
        "SomeNewCrawler/0.1",
    };
    for (const char* agent : crawlers)
        EXPECT_TRUE(matcher.matches(agent)) << agent;
    const char* const browsers[] = {
        "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
        "Chrome/124.0.0.0 Safari/537.36",
        "Mozilla/5.0 (X11; Linux x86_64; rv:125.0) Gecko/20100101 Firefox/125.0",
        "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 (KHTML, like "
        "Gecko) Version/17.4 Safari/605.1.15",
        "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
        "Chrome/124.0.0.0 Safari/537.36 Edg/124.0.2478.51",
        "Mozilla/5.0 (Linux; Android 10; K) AppleWebKit/537.36 (KHTML, like Gecko) "
        "Chrome/124.0.0.0 Mobile Safari/537.36",
        "Mozilla/5.0 (Android 14; Mobile; rv:125.0) Gecko/125.0 Firefox/125.0",
        "Mozilla/5.0 (iPhone; CPU iPhone OS 17_4 like Mac OS X) AppleWebKit/605.1.15 (KHTML, "
        "like Gecko) Version/17.4 Mobile/15E148 Safari/604.1",
        "Mozilla/5.0 (Linux; Android 10; HMA-L29) AppleWebKit/537.36 (KHTML, like Gecko) "
        "Chrome/124.0.0.0 Mobile Safari/537.36 EdgA/124.0.2478.64",
        "Mozilla/5.0 (Linux; Android 9; CUBOT P30) AppleWebKit/537.36 (KHTML, like Gecko) "
        "Chrome/124.0.0.0 Mobile Safari/537.36",
        "-",
        "",
    };
    for (const char* agent : browsers)
        EXPECT_FALSE(matcher.matches(agent)) << agent;
}

// More agents than places to remember them in, robots and browsers in turn.
TEST(RobotVerdicts, RememberedVerdictsAreTheMatchersOwn) {
    const RobotMatcher matcher({"bot/"});
    RobotVerdicts verdicts(matcher);
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 10000; ++i) {
            const std::string agent = (i % 2 ? "Browser/" : "bot/") + std::to_string(i);
            ASSERT_EQ(verdicts.isRobot(agent), i % 2 == 0) << agent;
        }
}

} // namespace
} // namespace statvane
