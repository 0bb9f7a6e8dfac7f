#pragma once

#include <string_view>

namespace statvane {

// Whether a line is in the combined log layout: a client field; a time stamp
// in square brackets with a ":" after the date; the request in double quotes;
// a status and a size field; then the referrer and the user agent, each in
// double quotes. More fields may follow the agent, as many servers add. A
// quoted field ends at a double quote that is not escaped by a backslash and
// that ends the line or is followed by a blank.
bool inCombinedLayout(std::string_view line);

} // namespace statvane
