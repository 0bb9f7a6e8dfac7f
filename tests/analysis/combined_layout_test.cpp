#include "analysis/combined_layout.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

TEST(CombinedLayout, LinesInAndOutOfTheLayout) {
    const std::pair<std::string_view, bool> cases[] = {
        {R"(192.0.2.7 - - [06/Dec/1999:10:15:32 -0500] "GET /docs/ HTTP/1.0" 200 5120 )"
         R"~("http://www.example.org/links.html" "Mozilla/4.0 (compatible; MSIE 4.01)")~",
         true},
        {R"(h - - [d:t] "GET / HTTP/1.0" 200 - "-" "-")", true},
        {R"(h - user [d:t] "GET /a\"b\\ HTTP/1.0" 404 0 "r\"x" "Agent \"q\"")", true},
        // Fields nginx layouts add after the agent.
        {R"(h - - [d:t] "GET / HTTP/1.1" 200 612 "-" "curl/8.5" "203.0.113.9" rt=0.004)", true},
        {R"(h - - [d:t] "GET / HTTP/1.1" 200 612 "-" "curl/8.5" 0.004)", true},
        // Common layout: no referrer, no agent.
        {R"(h - - [06/Dec/1999:10:15:32 -0500] "GET / HTTP/1.0" 200 5120)", false},
        {R"(h - - [d:t] "GET / HTTP/1.0" 200 5120 "-")", false},
        {R"({"remote_addr":"192.0.2.7","time_local":"06/Dec/1999:10:15:32 -0500",)"
         R"("request":"GET / HTTP/1.0","status":200,"http_user_agent":"curl/8.5"})",
         false},
        {R"({"remote_addr": "192.0.2.7", "request": "GET / HTTP/1.0", "status": 200})", false},
        {R"(h - - [06/Dec/1999 10.15.32] "GET / HTTP/1.0" 200 1 "-" "-")", false},
        {R"(h - - [:10:15:32] "GET / HTTP/1.0" 200 1 "-" "-")", false},
        {R"(h - - [d:t "GET / HTTP/1.0" 200 1 "-" "-")", false},
        {R"(h - - [d:t] GET / HTTP/1.0 200 1 "-" "-")", false},
        {R"(h - - [d:t] "GET / HTTP/1.0 200 1 "-" "-")", false},
        {R"(h - - [d:t] "GET / HTTP/1.0" 200 "-" "-")", false},
        {R"(h - - [d:t] "GET / HTTP/1.0" 200 1 "-" "agent)", false},
        {R"(h - - [d:t] "GET / HTTP/1.0" 200 1 "-" "agent\")", false},
        {R"(h - - [d:t] "GET / HTTP/1.0" 200 1 "-" "agent"x)", false},
        {R"(h - - [d:t] "GET / HTTP/1.0" 200 1 "-"  "-")", false},
        {R"( - - [d:t] "GET / HTTP/1.0" 200 1 "-" "-")", false},
        {"   ", false},
        {" \t ", false},
        {"\t", false},
        {"", false},
    };
    for (const auto& [line, inLayout] : cases)
        EXPECT_EQ(inCombinedLayout(line), inLayout) << line;
}

} // namespace
} // namespace statvane
