#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Text is 8-bit bytes; case-insensitive comparison folds the ASCII letters only.
namespace statvane::ascii {

constexpr char toLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string toLower(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Strict weak order ignoring letter case, by unsigned byte value.
bool lessIgnoringCase(std::string_view a, std::string_view b);

// Drops blanks (spaces and tabs) at both ends.
std::string_view trimBlanks(std::string_view text);

// A hash of the text with its letters folded, eight bytes at a time.
std::uint64_t caseInsensitiveHash(std::string_view text) noexcept;

// Hash and equality for unordered containers keyed ignoring letter case.
struct CaseInsensitiveHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return static_cast<std::size_t>(caseInsensitiveHash(text));
    }
};
struct CaseInsensitiveEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept {
        // Keys mostly repeat with the same spelling: compare bytes first.
        return a.size() == b.size() && (a == b || equalsIgnoringCase(a, b));
    }
};

} // namespace statvane::ascii
