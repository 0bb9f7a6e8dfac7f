#pragma once

namespace statvane::resolver {

// Not connected when STATVANE_OFFLINE is "1". Otherwise, when the environment
// names a DNS server: connected when its value is a valid "address:port";
// without one: when a network interface other than loopback is up and running
// with an address.
bool connected();

} // namespace statvane::resolver
