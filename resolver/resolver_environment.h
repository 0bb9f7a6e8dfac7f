#pragma once

namespace statvane::resolver {

// True when STATVANE_OFFLINE is "1": the library then reports no connection.
// The DNS server named in the environment is read with statvane/dns_server.h.
bool offlineForced();

} // namespace statvane::resolver
