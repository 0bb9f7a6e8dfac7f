#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// The recipients of an address text: only ";" separates, each entry is
// trimmed of characters below 33, and the rest after the last ";" is the last
// entry even when it is empty.
std::vector<std::string> splitRecipients(std::string_view addresses);

// The recipients as the mail's To: header lists them: joined by ", ", the
// empty ones (which name nobody) left out.
std::string recipientsHeader(const std::vector<std::string>& recipients);

} // namespace statvane
