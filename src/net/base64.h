#pragma once

#include <string>
#include <string_view>

namespace statvane {

// Standard base64 (RFC 4648 alphabet) with "=" fill.
std::string base64Encode(std::string_view bytes);

} // namespace statvane
