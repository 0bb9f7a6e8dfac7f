#include "platform/ascii.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

TEST(Ascii, HashAndEqualityFoldOnlyAsciiLetters) {
    const ascii::CaseInsensitiveHash hash;
    const ascii::CaseInsensitiveEqual equal;
    const std::pair<std::string, std::string> same[] = {
        {"Index.html", "INDEX.HTML"},
        {" \"Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit\"",
         " \"MOZILLA/5.0 (windows nt 10.0; WIN64; X64) applewebkit\""},
        {"@[`{AZaz\xc0\xdf", "@[`{azAZ\xc0\xdf"},
        {"", ""},
    };
    for (const auto& [a, b] : same) {
        EXPECT_TRUE(equal(a, b)) << a;
        EXPECT_EQ(hash(a), hash(b)) << a;
    }
    const std::pair<std::string, std::string> different[] = {
        {"@", "`"},
        {"[", "{"},
        {"\xc0", "\xe0"},
        {"abc", "abcd"},
        {"abcdefgh1", "abcdefgh2"},
        {std::string("a\0", 2), "a"},
    };
    for (const auto& [a, b] : different) {
        EXPECT_FALSE(equal(a, b)) << a;
        EXPECT_NE(hash(a), hash(b)) << a;
    }
}

TEST(Ascii, OrderIgnoringCase) {
    EXPECT_TRUE(ascii::lessIgnoringCase("alpha", "BETA"));
    EXPECT_FALSE(ascii::lessIgnoringCase("Beta", "alpha"));
    EXPECT_FALSE(ascii::lessIgnoringCase("ABC", "abc"));
    EXPECT_TRUE(ascii::lessIgnoringCase("ab", "ABC"));
    EXPECT_EQ(ascii::trimBlanks(" \t x y \t"), "x y");
}

} // namespace
} // namespace statvane
