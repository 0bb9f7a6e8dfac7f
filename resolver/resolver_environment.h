#pragma once

#include <optional>
#include <string>

namespace statvane::resolver {

// The DNS server named by STATVANE_DNS_SERVER ("address:port", for instance
// 127.0.0.1:5353), used in place of those of /etc/resolv.conf. Nothing when
// the variable is unset or empty.
std::optional<std::string> dnsServerOverride();

// True when STATVANE_OFFLINE is "1": the library then reports no connection.
bool offlineForced();

} // namespace statvane::resolver
