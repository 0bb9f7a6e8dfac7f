#include "net/http/http_date.h"
#include "net/http/http_line_reader.h"
#include "net/http/http_response.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

std::vector<std::string> linesOf(HttpLineReader& reader) {
    std::vector<std::string> lines;
    while (auto line = reader.nextLine())
        lines.push_back(*line);
    return lines;
}

TEST(HttpLineReader, CutsAtLineFeedsAcrossChunks) {
    HttpLineReader reader;
    reader.append("HTTP/1.0 200 OK\r\nA: 1\nB: ");
    EXPECT_EQ(linesOf(reader), (std::vector<std::string>{"HTTP/1.0 200 OK", "A: 1"}));
    reader.append("2\r");
    EXPECT_TRUE(linesOf(reader).empty());
    reader.append("\n\r\nrest");
    EXPECT_EQ(linesOf(reader), (std::vector<std::string>{"B: 2", ""}));
    EXPECT_FALSE(reader.lineTooLong());
}

TEST(HttpLineReader, RefusesLinesLongerThanTheLimit) {
    const std::size_t limit = HttpLineReader::maxLineLength;
    HttpLineReader longest;
    longest.append(std::string(limit, 'x') + "\r\n");
    EXPECT_EQ(longest.nextLine(), std::string(limit, 'x'));
    EXPECT_FALSE(longest.lineTooLong());

    HttpLineReader complete;
    complete.append(std::string(limit + 1, 'x') + "\n");
    EXPECT_FALSE(complete.nextLine());
    EXPECT_TRUE(complete.lineTooLong());

    // Without waiting for a line end that may never come.
    HttpLineReader arriving;
    arriving.append(std::string(limit + 2, 'x'));
    EXPECT_FALSE(arriving.nextLine());
    EXPECT_TRUE(arriving.lineTooLong());
}

HttpResponse responseOf(std::initializer_list<std::string_view> lines) {
    HttpResponse response;
    for (const std::string_view line : lines)
        takeHeaderLine(line, response);
    return response;
}

TEST(TakeHeaderLine, ReadsStatusAndKnownFields) {
    const HttpResponse response = responseOf(
        {"HTTP/1.1 301 Moved Permanently", "content-LENGTH: 1234", "Server: x:y",
         "Content-Type: Text/HTML; Charset=UTF-8", "Location: http://a.test/b", "no colon here"});
    EXPECT_EQ(response.status, 301);
    EXPECT_EQ(response.reason, "Moved Permanently");
    EXPECT_EQ(response.length, 1234);
    EXPECT_EQ(response.type, "text/html; charset=utf-8");
    EXPECT_EQ(response.location, "http://a.test/b");
    EXPECT_EQ(response.header.size(), 6u);
    EXPECT_EQ(response.header.back(), "no colon here");
}

TEST(TakeHeaderLine, ToleratesOddLines) {
    EXPECT_EQ(responseOf({"HTTP/1.0 200"}).reason, "");
    EXPECT_EQ(responseOf({"HTTP/1.0"}).status, 0);
    EXPECT_EQ(responseOf({"HTTP/1.0 2x0 Odd"}).status, 0);
    EXPECT_EQ(responseOf({"HTTP/1.0 -9"}).status, 0);
    EXPECT_EQ(responseOf({"HTTP/1.0 -12 Negative"}).status, 0);
    EXPECT_EQ(responseOf({"HTTP/2 200 OK"}).status, 0);
    EXPECT_EQ(responseOf({"Content-Length:42"}).length, 42);
    EXPECT_EQ(responseOf({"Content-Length: 12abc"}).length, -1);
    EXPECT_EQ(responseOf({"Content-Length: -5"}).length, -1);
    EXPECT_EQ(responseOf({"Content-Length: 7", "Content-Length: x"}).length, 7);
    EXPECT_EQ(responseOf({"Content-Length: 99999999999"}).length, 99999999999);
}

TEST(TakeHeaderLine, SeesHeaderEndAndHeaderlessDocuments) {
    HttpResponse response;
    EXPECT_EQ(takeHeaderLine("", response), HeaderLine::End);
    EXPECT_EQ(takeHeaderLine("<html><head>", response), HeaderLine::NoHeader);
    EXPECT_EQ(takeHeaderLine("<HTML>", response), HeaderLine::NoHeader);
    EXPECT_EQ(takeHeaderLine("<HTM", response), HeaderLine::Field);
    EXPECT_EQ(response.header, std::vector<std::string>{"<HTM"});
}

TEST(HttpDate, WritesEnglishUtc) {
    using namespace std::chrono;
    EXPECT_EQ(httpDate(sys_days(1994y / November / 6) + 8h + 49min + 37s),
              "Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(httpDate(sys_days(2024y / February / 29)), "Thu, 29 Feb 2024 00:00:00 GMT");
}

} // namespace
} // namespace statvane
