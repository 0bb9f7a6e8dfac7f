#pragma once

#include <string>
#include <string_view>

namespace statvane {

// UTF-16 little-endian bytes as 8-bit text in UTF-8. A surrogate without its
// partner is kept as the three bytes UTF-8 would give its code, so that
// toUtf16Le gives back the very same bytes; a lone last byte is dropped.
std::string utf16LeToUtf8(std::string_view bytes);

// 8-bit text as UTF-16 little-endian bytes. Valid UTF-8 (lone surrogates
// included) is converted; any other byte stands for the character of that
// number, as in Latin-1.
std::string utf8ToUtf16Le(std::string_view text);

} // namespace statvane
