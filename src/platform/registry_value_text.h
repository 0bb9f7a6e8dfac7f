#pragma once

#include "platform/registry_document.h"

#include <optional>
#include <string>
#include <string_view>

namespace statvane {

// A value line of an export file: `"name"=data` or `@=data`, where data is a
// quoted string, dword:, or hex bytes that may go on over lines ending in "\".
// Strings stored as hex(1) or hex(2) bytes read as strings: 8-bit bytes in a
// REGEDIT4 file, UTF-16 in a version 5 file, given to the program as UTF-8.
struct ValueLine {
    enum class Kind { Value, Deletion, Unreadable };
    Kind kind = Kind::Unreadable;
    RegistryValue value;
};

// The line of a value, continuation lines joined on; version5 tells how
// string bytes are encoded.
ValueLine parseValueLine(std::string_view line, bool version5);

// Whether the value data on this line goes on to the next: hex bytes ending
// in "\".
bool continuesOnNextLine(std::string_view line);

// The line that stores a value, without its line end. Strings holding a line
// break or a zero byte are written as hex(1) bytes so they stay one value.
std::string valueLineText(const RegistryValue& value, bool version5);

} // namespace statvane
