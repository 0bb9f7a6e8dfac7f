#include "analysis/line_splitter.h"

#include <cstring>
#include <gtest/gtest.h>

namespace statvane {
namespace {

using namespace std::string_literals;

std::vector<std::string> wholeFileLines(const std::string& bytes) {
    FileBuffer buffer(bytes.size());
    std::memcpy(buffer.data(), bytes.data(), bytes.size());
    LogLines lines;
    lines.appendFile(std::move(buffer), bytes.size());
    return {lines.begin(), lines.end()};
}

std::vector<std::string> chunkedLines(const std::string& bytes, std::size_t chunk) {
    LogLines lines;
    LineSplitter splitter(lines);
    for (std::size_t at = 0; at < bytes.size(); at += chunk)
        splitter.feed(std::string_view(bytes).substr(at, chunk));
    splitter.finish();
    return {lines.begin(), lines.end()};
}

// Wherever the chunks end (inside a carriage return and line feed pair, right
// at a 4999-byte cut), the lines are those of the file read whole.
TEST(LineSplitter, ChunksGiveTheLinesOfTheWholeFile) {
    const std::string cases[] = {
        "a\nb\n",
        "a\r\nb",
        "a\n\n\r\n\nb\n\n",
        "lone\rcr\n",
        "cr at end\r",
        "two\r\r\n",
        "nul\0byte\n\xff\xfe\n"s,
        "",
        "\r\n",
        std::string(4998, 'x') + "\r\n" + std::string(4999, 'y') + "\r\n" + std::string(4999, 'z') +
            "\ry\n" + std::string(12000, 'w') + "\r",
        std::string(9998, 'v') + "\r\n" + std::string(5000, 'u') + "\n\n",
    };
    for (const std::string& bytes : cases) {
        const auto expected = wholeFileLines(bytes);
        for (const std::size_t chunk : {1, 2, 3, 4998, 4999, 5000, 5001, 1 << 20}) {
            SCOPED_TRACE(testing::Message() << "chunk " << chunk << ", " << bytes.size()
                                            << " bytes starting " << bytes.substr(0, 10));
            EXPECT_EQ(chunkedLines(bytes, chunk), expected);
        }
    }
}

// Line ends and blank lines are not stored: a stream of nothing but line
// feeds costs no memory however long it is.
TEST(LineSplitter, OnlyKeptPiecesTakeMemory) {
    LogLines lines;
    LineSplitter splitter(lines);
    const std::string feeds(1 << 20, '\n');
    for (int i = 0; i < 16; ++i)
        splitter.feed(feeds);
    splitter.finish();
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(lines.memoryUsed(), 0u);
}

} // namespace
} // namespace statvane
