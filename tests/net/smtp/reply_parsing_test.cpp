#include "net/smtp/reply_code.h"
#include "net/smtp/reply_line_buffer.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

TEST(ReplyCode, ReadsTheNumberAndTheContinuationMark) {
    const struct {
        const char* line;
        int code;
        bool continued;
    } cases[] = {
        {"250 ok", 250, false},
        {"220-first line", 220, true},
        {"220", 220, false},
        {"  354 go ahead", 354, false},
        {"+250 signed", 250, false},
        {"-421-closing", 421, true},
        {"no number", 0, false},
        {"", 0, false},
        {"1000000 largest", 1'000'000, false},
        {"9999999 seven digits", 1'000'000, false},
        {"99999999999999999999 absurd", 1'000'000, false},
    };
    for (const auto& [line, code, continued] : cases) {
        const ReplyCode reply = readReplyCode(line);
        EXPECT_EQ(reply.code, code) << line;
        EXPECT_EQ(reply.continued, continued) << line;
    }
}

std::vector<std::string> takeAll(ReplyLineBuffer& buffer) {
    std::vector<std::string> lines;
    while (auto line = buffer.takeLine())
        lines.push_back(*line);
    return lines;
}

TEST(ReplyLineBuffer, SplitsOnCrLfAcrossChunks) {
    ReplyLineBuffer buffer;
    buffer.append("250-one\r\n250 tw");
    EXPECT_EQ(takeAll(buffer), std::vector<std::string>{"250-one"});
    buffer.append("o\r");
    EXPECT_TRUE(takeAll(buffer).empty());
    buffer.append("\n");
    EXPECT_EQ(takeAll(buffer), std::vector<std::string>{"250 two"});
}

// Feeds the bytes as a socket would, never more than the buffer takes.
std::vector<std::string> feed(ReplyLineBuffer& buffer, std::string_view bytes) {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const std::size_t taken = std::min(buffer.room(), bytes.size());
        buffer.append(bytes.substr(0, taken));
        bytes.remove_prefix(taken);
        for (std::string& line : takeAll(buffer))
            lines.push_back(std::move(line));
    }
    return lines;
}

TEST(ReplyLineBuffer, CutsAnOverlongLineAndSkipsItsRest) {
    const std::string longLine = "250 " + std::string(9000, 'x');
    ReplyLineBuffer buffer;
    const auto lines = feed(buffer, longLine + "\r\n221 next\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], longLine.substr(0, ReplyLineBuffer::maxLineLength));
    EXPECT_EQ(lines[1], "221 next");
}

TEST(ReplyLineBuffer, KeepsALineThatExactlyFills) {
    const std::string fullLine = "250 " + std::string(ReplyLineBuffer::maxLineLength - 4, 'y');
    ReplyLineBuffer buffer;
    const auto lines = feed(buffer, fullLine + "\r\n" + fullLine + "\r\n");
    EXPECT_EQ(lines, (std::vector<std::string>{fullLine, fullLine}));
}

} // namespace
} // namespace statvane
