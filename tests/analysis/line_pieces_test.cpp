#include "line_reading.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using namespace std::string_literals;
using test::Lines;

TEST(LinePieces, LineEnds) {
    const std::pair<std::string, Lines> cases[] = {
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\n\n\r\n\nb\n\n", {"a", "b"}},
        {"lone\rcr\n", {"lone\rcr"}},
        {"cr at end\r", {"cr at end\r"}},
        {"two\r\r\n", {"two\r"}},
        {"nul\0byte\n\xff\xfe\n"s, {"nul\0byte"s, "\xff\xfe"}},
        {"", {}},
        {"\n", {}},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(test::linesOf(bytes), expected);
}

TEST(LinePieces, LongLinesBecomePiecesOf4999) {
    const auto lines = test::linesOf(std::string(12000, 'x') + "\r\n" + std::string(4999, 'y') +
                                     "\n" + std::string(9998, 'z') + "\r\n");
    const Lines expected{std::string(4999, 'x'), std::string(4999, 'x'), std::string(2002, 'x'),
                         std::string(4999, 'y'), std::string(4999, 'z'), std::string(4999, 'z')};
    EXPECT_EQ(lines, expected);
}

// Wherever the reads end (inside a carriage return and line feed pair, right
// at a 4999-byte cut), the blocks give the lines of the file read whole.
TEST(LinePieces, BlocksGiveTheLinesOfTheWholeFile) {
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
        std::string(4999, 't') + "\r",
    };
    for (const std::string& bytes : cases) {
        const auto expected = test::linesOf(bytes);
        for (const std::size_t piece : {1, 2, 3, 4998, 4999, 5000, 5001, 1 << 20}) {
            SCOPED_TRACE(testing::Message() << "piece " << piece << ", " << bytes.size()
                                            << " bytes starting " << bytes.substr(0, 10));
            EXPECT_EQ(test::blockedLines(bytes, piece), expected);
        }
    }
}

} // namespace
} // namespace statvane
