#include "platform/ascii.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace statvane::ascii {

std::string toLower(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered)
        c = toLower(c);
    return lowered;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (toLower(a[i]) != toLower(b[i]))
            return false;
    }
    return true;
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(toLower(x)) < static_cast<unsigned char>(toLower(y));
    });
}

std::string_view trimBlanks(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// Folds the ASCII capitals of eight bytes at once, leaving other bytes alone.
std::uint64_t foldWord(std::uint64_t word) {
    const std::uint64_t low = word & ~kHighBits;
    const std::uint64_t aboveZ = low + (0x7f - 'Z') * kOnes;
    const std::uint64_t fromA = low + (0x80 - 'A') * kOnes;
    const std::uint64_t capitals = (fromA ^ aboveZ) & ~word & kHighBits;
    return word | (capitals >> 2);
}

std::uint64_t mix(std::uint64_t hash, std::uint64_t word) {
    hash ^= word;
    hash *= 0x9e3779b97f4a7c15ull;
    return hash ^ (hash >> 29);
}

} // namespace

std::uint64_t caseInsensitiveHash(std::string_view text) noexcept {
    // Eight folded bytes a step; the length starts the hash, so the zero-padded
    // tail cannot make two lengths collide.
    std::uint64_t hash = mix(0xcbf29ce484222325ull, text.size());
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        hash = mix(hash, foldWord(word));
    }
    if (i < text.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, text.size() - i);
        hash = mix(hash, foldWord(word));
    }
    return hash;
}

} // namespace statvane::ascii
