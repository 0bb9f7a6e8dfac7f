#include "platform/ascii.h"

#include <algorithm>

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

std::size_t CaseInsensitiveHash::operator()(std::string_view text) const noexcept {
    // FNV-1a over the folded bytes.
    std::size_t hash = 14695981039346656037ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(toLower(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace statvane::ascii
