#pragma once

namespace statvane::resolver {

// Connected unless STATVANE_OFFLINE is "1"; otherwise when a DNS server is
// named in the environment or a network interface other than loopback is up
// and running with an address.
bool connected();

} // namespace statvane::resolver
