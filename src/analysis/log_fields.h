#pragma once

#include <array>
#include <cstdint>
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

// The agent: the browser text without the blanks before it and without one
// pair of enclosing double quotes.
std::optional<std::string_view> agentOf(std::string_view line);

inline constexpr int kLowestStatus = 100;
inline constexpr int kHighestStatus = 599;
// Hits per status code, at the code less kLowestStatus.
using StatusCounts = std::array<std::int64_t, kHighestStatus - kLowestStatus + 1>;

// The status code: the field after the request, when it is three digits
// from 100 to 599. The request opens at the line's first double quote and
// closes where a quoted field of the combined layout closes (closingQuote);
// the field is the text after the blank that follows, up to the next blank
// or the line's end.
std::optional<int> statusCodeOf(std::string_view line);

} // namespace statvane
