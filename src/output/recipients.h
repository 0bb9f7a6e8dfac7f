#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// The recipients of an address text: only ";" separates, each entry is
// trimmed of characters below 33, and the rest after the last ";" is the last
// entry even when it is empty.
std::vector<std::string> splitRecipients(std::string_view addresses);

} // namespace statvane
