#include "analysis/log_fields.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using Field = std::optional<std::string_view>;

constexpr std::string_view kCombined =
    "192.0.2.7 - - [06/Dec/1999:10:15:32 -0500] \"GET /docs/index.html HTTP/1.0\" 200 5120 "
    "\"http://www.example.org/links.html\" \"Mozilla/4.0 (compatible; MSIE 4.01; Windows 98)\"";

TEST(LogFields, CombinedLine) {
    EXPECT_EQ(visitorOf(kCombined), Field("192.0.2.7"));
    EXPECT_EQ(dateOf(kCombined), Field("06/Dec/1999"));
    EXPECT_EQ(referrerOf(kCombined), Field("http://www.example.org/links.html"));
    EXPECT_EQ(requestPathOf(kCombined), Field("docs/index.html"));
    EXPECT_EQ(browserOf(kCombined), Field(" \"Mozilla/4.0 (compatible; MSIE 4.01; Windows 98)\""));
}

TEST(LogFields, OddLines) {
    struct Case {
        std::string_view line;
        Field visitor, date, referrer, path, browser;
    };
    const Case cases[] = {
        {"common - - [01/Jan/2000:00:00:00 +0000] \"GET / HTTP/1.0\" 200 1",
         "common",
         "01/Jan/2000",
         {},
         "/",
         {}},
        {"h - - [d:t] \"GET /docs/ HTTP/1.0\" 200 1 \"-\" \"-\"", "h", "d", "-", "docs", " \"-\""},
        {"h - - [d:t] \"GET //x HTTP/1.0\" 200 1 \"ab\" \"Agent\"", "h", "d", "ab", "/x",
         " \"Agent\""},
        {"h - - [d:t] \"POST /form HTTP/1.0\" 200 1", "h", "d", {}, {}, {}},
        {"GETHOST - - [d:t] \"POST /form HTTP/1.0\" 200 1",
         "GETHOST",
         "d",
         {},
         "OST - - [d:t] \"POST /form",
         {}},
        {"nospaces", {}, {}, {}, {}, {}},
        {" leading", {}, {}, {}, {}, {}},
        {"h no date here", "h", {}, {}, {}, {}},
        {"h [no colon", "h", {}, {}, {}, {}},
        {"h \"GET /a?q=1 HTTP/1.1\"", "h", {}, {}, "a?q=1", {}},
        {"h \"GET HTTP/1.0\"", "h", {}, {}, {}, {}},
        {"h \"GET  HTTP/1.0\"", "h", {}, {}, "", {}},
        {"h GET", "h", {}, {}, {}, {}},
        {"h GET/", "h", {}, {}, {}, {}},
        {"h \"\" 200 \"r\" \"b\"", "h", {}, " ", {}, " \"b\""},
        {"a \"one\" \"two\" \"three", "a", {}, "two", {}, " \"three"},
        {"a \"one\" \"two", "a", {}, {}, {}, {}},
        {"a \"q\"", "a", {}, {}, {}, {}},
        {"a \"\"\"\"", "a", {}, {}, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(visitorOf(c.line), c.visitor);
        EXPECT_EQ(dateOf(c.line), c.date);
        EXPECT_EQ(referrerOf(c.line), c.referrer);
        EXPECT_EQ(requestPathOf(c.line), c.path);
        EXPECT_EQ(browserOf(c.line), c.browser);
    }
}

// The field after the request's closing quote, which is a double quote that
// is not escaped and is followed by a blank or ends the line.
TEST(LogFields, StatusCodes) {
    const std::pair<std::string_view, std::optional<int>> cases[] = {
        {kCombined, 200},
        {"h - - [d:t] \"GET / HTTP/1.0\" 404 0", 404},
        {"h - - [d:t] \"GET / HTTP/1.0\" 100", 100},
        {"h - - [d:t] \"GET / HTTP/1.0\" 599 1", 599},
        {"h - - [d:t] \"GET /a\"b HTTP/1.0\" 301 1 \"-\" \"-\"", 301},
        {"h - - [d:t] \"GET /a\\\" b HTTP/1.0\" 302 1", 302},
        {"h - - [d:t] \"GET /a\\\\\" 503 HTTP/1.0\" 302 1", 503},
        {"h - - [d:t] \"\" 400 0", 400},
        {"h - - [d:t] \"GET / HTTP/1.0\" - 0", std::nullopt},
        {"h - - [d:t] \"GET / HTTP/1.0\" 0 0", std::nullopt},
        {"h - - [d:t] \"GET / HTTP/1.0\" 2000 0", std::nullopt},
        {"h - - [d:t] \"GET / HTTP/1.0\" 099 0", std::nullopt},
        {"h - - [d:t] \"GET / HTTP/1.0\" 600 0", std::nullopt},
        {"h - - [d:t] \"GET / HTTP/1.0\" 20x 0", std::nullopt},
        {"h - - [d:t] \"GET / HTTP/1.0\" -20 0", std::nullopt},
        {"h - - [d:t] \"GET / HTTP/1.0\" +20 0", std::nullopt},
        {"h - - [d:t] \"GET / HTTP/1.0\"  200 0", std::nullopt},
        {"h - - [d:t] \"GET / HTTP/1.0\" ", std::nullopt},
        {"h - - [d:t] \"GET / HTTP/1.0\"", std::nullopt},
        {"h - - [d:t] \"GET / HTTP/1.0 200 1", std::nullopt},
        {"h - - [d:t] GET / HTTP/1.0 200 1", std::nullopt},
    };
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(statusCodeOf(line), expected);
    }
}

} // namespace
} // namespace statvane
