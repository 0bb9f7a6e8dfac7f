#include "platform/wildcard_search.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

TEST(WildcardSearch, MatchesLikeAWindowsFolderSearch) {
    const std::tuple<std::string_view, std::string_view, bool> cases[] = {
        {"*.*", "access.log", true},
        {"*.*", "README", true},
        {"*", "x", true},
        {"*.log", "ACCESS.LOG", true},
        {"*.log", "access.log.1", false},
        {"*.log", "log", false},
        {"a?c.log", "abc.log", true},
        {"a?c.log", "ac.log", false},
        {"*a*b*", "xxaxxbxx", true},
        {"*a*b", "ab_a", false},
        {"access*", "access", true},
    };
    for (const auto& [pattern, name, matches] : cases)
        EXPECT_EQ(wildcardMatch(pattern, name), matches) << pattern << " " << name;
}

// Outside file names, "*.*" is a star, a dot and a star like any other pattern.
TEST(WildcardSearch, TextPatternHasNoSpecialName) {
    const std::tuple<std::string_view, std::string_view, bool> cases[] = {
        {"*.*", "README", false},
        {"*.*", "a.b", true},
        {"*BOT*", "a bot here", true},
        {"?", "", false},
    };
    for (const auto& [pattern, text, matches] : cases)
        EXPECT_EQ(wildcardMatchText(pattern, text), matches) << pattern << " " << text;
}

TEST(WildcardSearch, OrdinaryFilesInNameOrderIgnoringCase) {
    test::TempDir dir;
    for (const char* name : {"b.log", "A.log", "c.txt", ".hidden.log", "C.log"})
        test::writeFile(dir / name, "x\n");
    std::filesystem::create_directory(dir / "folder.log");
    EXPECT_EQ(findMatchingFiles(dir.path(), "*.log"),
              (std::vector<std::string>{"A.log", "b.log", "C.log"}));
    EXPECT_EQ(findMatchingFiles(dir.path(), "*.*").size(), 4u);
    EXPECT_TRUE(findMatchingFiles(dir / "missing", "*.*").empty());
}

} // namespace
} // namespace statvane
