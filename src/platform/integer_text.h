#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace statvane {

// The settings' integer conversion: leading spaces, an optional sign, then
// decimal digits or a hexadecimal number after "$", "x" or "0x" (at most eight
// hexadecimal digits; 80000000 and up are negative). Nothing may follow.
std::optional<std::int32_t> parseInteger(std::string_view text);

// As parseInteger, raising Error("'<text>' is not a valid integer value").
std::int32_t toInteger(std::string_view text);

// A number in a profile file: decimal with an optional sign, or hexadecimal
// after "0x" or "0X".
std::optional<std::int32_t> parseProfileInteger(std::string_view text);

} // namespace statvane
