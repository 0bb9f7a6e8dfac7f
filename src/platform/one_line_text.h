#pragma once

#include <string>

namespace statvane {

// The value of a one-line field as files and mail headers take it: each line
// break (CR or LF) in it becomes a blank, so that it stays one value on one
// line.
std::string oneLineText(std::string text);

} // namespace statvane
