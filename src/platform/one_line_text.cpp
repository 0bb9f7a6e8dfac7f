#include "platform/one_line_text.h"

#include <algorithm>

namespace statvane {

std::string oneLineText(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

} // namespace statvane
