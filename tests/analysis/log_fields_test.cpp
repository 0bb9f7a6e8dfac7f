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

} // namespace
} // namespace statvane
