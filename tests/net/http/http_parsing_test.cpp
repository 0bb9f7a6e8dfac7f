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
    EXPECT_EQ(reader.failure(), HttpLineReader::Failure::None);
}

TEST(HttpLineReader, RefusesLinesLongerThanTheLimit) {
    const std::size_t limit = HttpLineReader::maxLineLength;
    HttpLineReader longest;
    longest.append(std::string(limit, 'x') + "\r\n");
    EXPECT_EQ(longest.nextLine(), std::string(limit, 'x'));
    EXPECT_EQ(longest.failure(), HttpLineReader::Failure::None);

    HttpLineReader complete;
    complete.append(std::string(limit + 1, 'x') + "\n");
    EXPECT_FALSE(complete.nextLine());
    EXPECT_EQ(complete.failure(), HttpLineReader::Failure::LineTooLong);

    // Without waiting for a line end that may never come.
    HttpLineReader arriving;
    arriving.append(std::string(limit + 2, 'x'));
    EXPECT_FALSE(arriving.nextLine());
    EXPECT_EQ(arriving.failure(), HttpLineReader::Failure::LineTooLong);
}

struct HeaderBoundCase {
    const char* name;
    std::string received;
    HttpLineReader::Failure failure;
};

// The header is bounded as a whole, whether its lines are complete or the
// last one is still arriving; the empty line ending it is not counted.
TEST(HttpLineReader, RefusesHeadersBeyondTheirBounds) {
    const std::size_t maxLines = HttpLineReader::maxHeaderLines;
    const std::size_t maxBytes = HttpLineReader::maxHeaderBytes;
    const std::string line = "X: " + std::string(4091, 'y') + "\r\n"; // 4 KiB
    const std::size_t fullLines = maxBytes / line.size();
    // With the empty line that ends the header, exactly the most bytes.
    const std::string lastLine = std::string(line.size() - 4, 'z') + "\r\n\r\n";
    auto repeated = [](const std::string& text, std::size_t times) {
        std::string all;
        for (std::size_t i = 0; i < times; ++i)
            all += text;
        return all;
    };
    using enum HttpLineReader::Failure;
    const HeaderBoundCase cases[] = {
        {"most lines", repeated("A: 1\r\n", maxLines) + "\r\n", None},
        {"a line too many", repeated("A: 1\r\n", maxLines + 1), HeaderTooLong},
        {"most bytes", repeated(line, fullLines - 1) + lastLine, None},
        {"a byte too many", repeated(line, fullLines - 1) + "z" + lastLine, HeaderTooLong},
        {"too many bytes still arriving",
         repeated(line, fullLines - 1) + std::string(line.size() + 1, 'z'), HeaderTooLong},
    };
    for (const HeaderBoundCase& c : cases) {
        HttpLineReader reader;
        for (std::size_t at = 0; at < c.received.size(); at += 1000) {
            reader.append(std::string_view(c.received).substr(at, 1000));
            linesOf(reader);
        }
        EXPECT_EQ(reader.failure(), c.failure) << c.name;
    }
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
