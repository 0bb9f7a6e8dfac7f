#pragma once

#include <optional>
#include <string_view>

// The pieces of a log line that the analyses count. The rules search for
// marker characters in the raw line (exact byte comparisons) and do not check
// the layout, so a line of any shape gives a piece or nothing. Every result is
// a view into the line.
namespace statvane {

// The text before the first blank; nothing without a blank or when empty.
std::optional<std::string_view> visitorOf(std::string_view line);

// The text after the first "[" up to the first ":" after it.
std::optional<std::string_view> dateOf(std::string_view line);

// The text between the third and fourth double quote, where the second and
// third are each searched from the second character after the one before.
std::optional<std::string_view> referrerOf(std::string_view line);

// The text between the first "GET " and the blank before the next "HTTP",
// with one leading and one trailing "/" dropped (each only when the path is
// longer than one character).
std::optional<std::string_view> requestPathOf(std::string_view line);

// Everything after the fourth double quote.
std::optional<std::string_view> browserOf(std::string_view line);

} // namespace statvane
