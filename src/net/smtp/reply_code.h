#pragma once

#include <string_view>

namespace statvane {

struct ReplyCode {
    int code = 0;           // 0 when the line starts with no number
    bool continued = false; // "-" right after the number: more lines follow
};

// Reads the number at the start of a reply line: leading spaces, an optional
// sign, then decimal digits. Numbers above 1,000,000 read as 1,000,000
// instead of overflowing.
ReplyCode readReplyCode(std::string_view line);

} // namespace statvane
