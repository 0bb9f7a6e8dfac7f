#pragma once

#include <cstddef>
#include <string_view>

namespace statvane {

// Whether a line is in the combined log layout: a client field; a time stamp
// in square brackets with a ":" after the date; the request in double quotes;
// a status and a size field; then the referrer and the user agent, each in
// double quotes. More fields may follow the agent, as many servers add. A
// quoted field ends at a double quote that is not escaped by a backslash and
// that ends the line or is followed by a blank.
bool inCombinedLayout(std::string_view line);

// Where a quoted field ends, by that rule, in the text that follows its
// opening double quote: the first double quote that is not escaped and that
// ends the text or is followed by a blank; npos when there is none.
std::size_t closingQuote(std::string_view text);

} // namespace statvane
