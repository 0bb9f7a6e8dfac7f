#pragma once

#include <optional>
#include <string>

namespace statvane::resolver {

// Looks up the host name of a dotted IPv4 address with a PTR query, at most
// about three seconds. Uses the server named in STATVANE_DNS_SERVER, else
// those of /etc/resolv.conf. Nothing, without any query, when the text is not
// a dotted IPv4 address or the named server is not a valid "address:port";
// nothing when the look-up fails or runs out of time.
std::optional<std::string> reverseLookup(const std::string& dottedAddress);

} // namespace statvane::resolver
