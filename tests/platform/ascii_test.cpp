#include "platform/ascii.h"

#include <gtest/gtest.h>
#include <tuple>

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

// Long texts are compared eight bytes at a time: the first byte that differs
// decides wherever it stands, bytes above 127 count as larger, and a text
// that is the start of the other comes first.
TEST(Ascii, LongTextsOrderByTheirFirstDifferentByte) {
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"http://www.example.com/a", "HTTP://WWW.EXAMPLE.COM/B", true},
        {"http://www.example.com/b", "HTTP://WWW.EXAMPLE.COM/A", false},
        {"HTTP://WWW.EXAMPLE.COM/A", "http://www.example.com/a", false},
        {"abcdefgZ", "ABCDEFGa", false},
        {"abcdefgA", "ABCDEFGz", true},
        {"abcdefgh\xe9", "ABCDEFGHz", false},
        {"Abcdefgh", "abcdefgh1", true},
        {"abcdefgh12345678x", "ABCDEFGH12345678", false},
        {"b234567890", "a234567890", false},
        {"bA345678", "Ab345678", false},
        {"a234567890", "b234567890", true},
        {"[234567890", "a234567890", true}, // "[" follows "Z" but is not folded
    };
    for (const auto& [a, b, less] : cases)
        EXPECT_EQ(ascii::lessIgnoringCase(a, b), less) << a << " < " << b;
}

} // namespace
} // namespace statvane
