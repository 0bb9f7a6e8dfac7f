#include "analysis/log_lines.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using namespace std::string_literals;

std::vector<std::string> linesOf(std::string_view bytes) {
    test::TempDir dir;
    test::writeFile(dir / "access.log", bytes);
    LogLines lines;
    EXPECT_TRUE(readLogFile(dir / "access.log", lines));
    return {lines.begin(), lines.end()};
}

TEST(LogLines, LineEnds) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
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
        EXPECT_EQ(linesOf(bytes), expected);
}

TEST(LogLines, LongLinesBecomePiecesOf4999) {
    const std::string line(12000, 'x');
    const auto lines =
        linesOf(line + "\r\n" + std::string(4999, 'y') + "\n" + std::string(9998, 'z') + "\r\n");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].size(), 4999u);
    EXPECT_EQ(lines[1].size(), 4999u);
    EXPECT_EQ(lines[2].size(), 2002u);
    EXPECT_EQ(lines[3], std::string(4999, 'y'));
    EXPECT_EQ(lines[4], std::string(4999, 'z'));
    EXPECT_EQ(lines[5], std::string(4999, 'z'));
}

TEST(LogLines, FilesAppendInOrderAndMissingFilesAreReported) {
    test::TempDir dir;
    test::writeFile(dir / "one.log", "1a\n1b\n");
    test::writeFile(dir / "two.log", "2a");
    LogLines lines;
    EXPECT_TRUE(readLogFile(dir / "one.log", lines));
    EXPECT_FALSE(readLogFile(dir / "missing.log", lines));
    EXPECT_FALSE(readLogFile(dir.path(), lines));
    EXPECT_TRUE(readLogFile(dir / "two.log", lines));
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()),
              (std::vector<std::string>{"1a", "1b", "2a"}));
    EXPECT_EQ(lines.front(), "1a");
    EXPECT_EQ(lines.back(), "2a");
    lines.clear();
    EXPECT_TRUE(lines.empty());
}

} // namespace
} // namespace statvane
