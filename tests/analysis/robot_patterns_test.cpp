#include "analysis/robot_patterns.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace statvane {
namespace {

using Patterns = std::vector<std::string>;

TEST(RobotPatterns, OneALineWithoutCommentsBlanksOrLineEnds) {
    const std::string tenThousand(10000, 'q');
    const std::pair<std::string, Patterns> cases[] = {
        {"Googlebot\nbingbot\n", {"Googlebot", "bingbot"}},
        {"Googlebot\r\nbingbot\r\n", {"Googlebot", "bingbot"}},
        {"last line without end", {"last line without end"}},
        {"# a group\n\n  \t\n\r\n#\n", {}},
        {"  Yahoo! Slurp \t# Yahoo's crawler\r\n", {"Yahoo! Slurp"}},
        {"a#b\n#c\nd", {"a", "d"}},
        {"\tspaced words inside\t\n", {"spaced words inside"}},
        {"\xff\xfe bad\xc3\n\xc3\xa9t\xc3\xa9\n", {"\xff\xfe bad\xc3", "\xc3\xa9t\xc3\xa9"}},
        {tenThousand + "\nnext\n", {tenThousand, "next"}},
        {std::string("nul\0byte\n", 9), {std::string("nul\0byte", 8)}},
    };
    for (const auto& [text, expected] : cases) {
        Patterns patterns{"before"};
        addRobotPatterns(text, patterns);
        EXPECT_EQ(Patterns(patterns.begin() + 1, patterns.end()), expected) << text.substr(0, 40);
        EXPECT_EQ(patterns.front(), "before");
    }
}

TEST(RobotPatterns, ShippedListThenUsersOwn) {
    test::TempDir dir;
    test::writeFile(dir / "shipped", "# shipped\nGooglebot\r\nbingbot\r\n");
    test::writeFile(dir / "user", "NewCrawler\n");
    const auto read = readRobotLists(dir / "shipped", dir / "user");
    EXPECT_EQ(read.patterns, (Patterns{"Googlebot", "bingbot", "NewCrawler"}));
    EXPECT_TRUE(read.notices.empty());
}

TEST(RobotPatterns, AFileThatCannotBeReadIsToldAndTheOtherIsRead) {
    test::TempDir dir;
    test::writeFile(dir / "user", "NewCrawler\n");
    std::filesystem::create_directory(dir / "folder");

    auto read = readRobotLists(dir / "missing", dir / "user");
    EXPECT_EQ(read.patterns, Patterns{"NewCrawler"});
    EXPECT_EQ(read.notices, Patterns{(dir / "missing").string() + ": No such file or directory"});

    test::writeFile(dir / "shipped", "Googlebot\n");
    read = readRobotLists(dir / "shipped", dir / "folder");
    EXPECT_EQ(read.patterns, Patterns{"Googlebot"});
    EXPECT_EQ(read.notices, Patterns{(dir / "folder").string() + ": Is a directory"});

    // The user's own list is optional: none is no notice.
    read = readRobotLists(dir / "shipped", dir / "none");
    EXPECT_EQ(read.patterns, Patterns{"Googlebot"});
    EXPECT_TRUE(read.notices.empty());

    if (::geteuid() != 0) { // root reads anything
        ::chmod((dir / "user").c_str(), 0);
        read = readRobotLists(dir / "shipped", dir / "user");
        EXPECT_EQ(read.notices, Patterns{(dir / "user").string() + ": Permission denied"});
    }
}

} // namespace
} // namespace statvane
