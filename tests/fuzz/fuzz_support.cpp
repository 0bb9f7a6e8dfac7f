#include "fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace statvane::fuzz {

void require(bool holds, std::string_view property) {
    if (holds)
        return;
    std::fprintf(stderr, "Fuzz property broken: %.*s\n", static_cast<int>(property.size()),
                 property.data());
    std::abort();
}

bool isViewInto(std::string_view part, std::string_view whole) {
    const std::less_equal<const char*> notAfter;
    return notAfter(whole.data(), part.data()) &&
           notAfter(part.data() + part.size(), whole.data() + whole.size());
}

std::vector<std::string_view> socketReads(std::string_view bytes, std::uint8_t chooser) {
    std::vector<std::string_view> reads;
    std::uint8_t state = chooser;
    while (!bytes.empty()) {
        // A full-period generator mod 256, so every length comes up.
        state = static_cast<std::uint8_t>(state * 5 + 1);
        const std::size_t length = std::min<std::size_t>(bytes.size(), state + 1u);
        reads.push_back(bytes.substr(0, length));
        bytes.remove_prefix(length);
    }
    return reads;
}

} // namespace statvane::fuzz
