#include "platform/ascii.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

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

__extension__ using Wide = unsigned __int128;

// The two halves of the 128-bit product of a and b, folded into one: every
// bit of either factor reaches every bit of the result.
std::uint64_t multiplyFold(std::uint64_t a, std::uint64_t b) {
    const Wide product = static_cast<Wide>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

constexpr std::uint64_t kLengthKey = 0xa0761d6478bd642full;
constexpr std::uint64_t kWordKey = 0xe7037ed1a0b428dbull;
constexpr std::uint64_t kEndKey = 0x8ebc6af09c88c6e3ull;

std::uint64_t load8(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}

std::uint64_t load4(const char* p) {
    std::uint32_t word;
    std::memcpy(&word, p, 4);
    return word;
}

// Two words that hold every byte of a text of at most 16 bytes; they may
// overlap, as the length is hashed too.
std::pair<std::uint64_t, std::uint64_t> shortWords(const char* p, std::size_t size) {
    if (size >= 8)
        return {load8(p), load8(p + size - 8)};
    if (size >= 4)
        return {load4(p), load4(p + size - 4)};
    if (size > 0) {
        const auto byte = [p](std::size_t i) {
            return std::uint64_t{static_cast<unsigned char>(p[i])};
        };
        return {byte(0) << 16 | byte(size / 2) << 8 | byte(size - 1), 0};
    }
    return {0, 0};
}

} // namespace

std::uint64_t caseInsensitiveHash(std::string_view text) noexcept {
    // Sixteen folded bytes a step, one multiplication each; the last step
    // takes the last sixteen bytes, overlapping the step before.
    const char* p = text.data();
    std::size_t left = text.size();
    std::uint64_t hash = multiplyFold(left ^ kLengthKey, kEndKey);
    for (; left > 16; p += 16, left -= 16)
        hash = multiplyFold(foldWord(load8(p)) ^ kWordKey, foldWord(load8(p + 8)) ^ hash);
    const auto [first, second] = text.size() > 16
                                     ? std::pair(load8(p + left - 16), load8(p + left - 8))
                                     : shortWords(p, left);
    hash = multiplyFold(foldWord(first) ^ kWordKey, foldWord(second) ^ hash);
    return multiplyFold(hash ^ kEndKey, kLengthKey);
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
    // Eight folded bytes at a time while both texts have them; the first
    // byte that differs (the lowest, on a little-endian machine) decides, as
    // unsigned.
    static_assert(std::endian::native == std::endian::little);
    std::size_t i = 0;
    for (const std::size_t common = std::min(a.size(), b.size()); i + 8 <= common; i += 8) {
        const std::uint64_t x = foldWord(load8(a.data() + i));
        const std::uint64_t y = foldWord(load8(b.data() + i));
        if (x != y) {
            const int shift = std::countr_zero(x ^ y) / 8 * 8;
            return (x >> shift & 0xff) < (y >> shift & 0xff);
        }
    }
    return std::lexicographical_compare(
        a.begin() + static_cast<std::ptrdiff_t>(i), a.end(),
        b.begin() + static_cast<std::ptrdiff_t>(i), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(toLower(x)) < static_cast<unsigned char>(toLower(y));
        });
}

} // namespace statvane::ascii
