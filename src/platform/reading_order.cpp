#include "platform/reading_order.h"

#include "platform/ascii.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace statvane {
namespace {

constexpr std::array<std::string_view, 4> kCompressionEndings = {".gz", ".bz2", ".xz", ".zst"};

// Where a name stands: the base name of its set (the name itself when it is
// not a rotated member), and for a rotated member its number's digits without
// leading zeros.
struct Place {
    std::string_view base;
    bool rotated;
    std::string_view number;
};

std::string_view withoutCompressionEnding(std::string_view name) {
    for (const auto ending : kCompressionEndings)
        if (name.ends_with(ending))
            return name.substr(0, name.size() - ending.size());
    return name;
}

Place placeOf(std::string_view name) {
    const std::string_view numbered = withoutCompressionEnding(name);
    const auto dot = numbered.rfind('.');
    const std::string_view digits =
        dot == std::string_view::npos ? std::string_view() : numbered.substr(dot + 1);
    const bool isNumber = !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    if (!isNumber || dot == 0)
        return {name, false, {}};
    const auto significant = std::min(digits.find_first_not_of('0'), digits.size());
    return {numbered.substr(0, dot), true, digits.substr(significant)};
}

bool nameBefore(std::string_view a, std::string_view b) {
    return ascii::lessIgnoringCase(a, b) || (!ascii::lessIgnoringCase(b, a) && a < b);
}

bool numberAbove(std::string_view a, std::string_view b) {
    return a.size() != b.size() ? a.size() > b.size() : a > b;
}

bool readBefore(const std::string& a, const std::string& b) {
    const Place pa = placeOf(a), pb = placeOf(b);
    if (pa.base != pb.base)
        return nameBefore(pa.base, pb.base);
    if (pa.rotated != pb.rotated)
        return pa.rotated;
    if (pa.number != pb.number)
        return numberAbove(pa.number, pb.number);
    return nameBefore(a, b);
}

} // namespace

std::vector<std::string> inReadingOrder(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), readBefore);
    return names;
}

} // namespace statvane
