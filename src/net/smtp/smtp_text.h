#pragma once

#include <string>
#include <string_view>

namespace statvane {

// Without the leading and trailing characters whose codes are below 33
// (spaces, tabs, line breaks and other control characters).
std::string_view trimControls(std::string_view text);

inline bool isBlank(std::string_view text) {
    return trimControls(text).empty();
}

} // namespace statvane
