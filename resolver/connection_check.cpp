#include "connection_check.h"

#include "resolver_environment.h"
#include "statvane/dns_server.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

namespace statvane::resolver {
namespace {

bool isUsableInterface(const ifaddrs& entry) {
    if (!entry.ifa_addr)
        return false;
    const int family = entry.ifa_addr->sa_family;
    const unsigned flags = entry.ifa_flags;
    return (family == AF_INET || family == AF_INET6) && (flags & IFF_UP) && (flags & IFF_RUNNING) &&
           !(flags & IFF_LOOPBACK);
}

bool networkInterfaceUp() {
    ifaddrs* entries = nullptr;
    if (::getifaddrs(&entries) != 0)
        return false;
    bool up = false;
    for (const ifaddrs* entry = entries; entry && !up; entry = entry->ifa_next)
        up = isUsableInterface(*entry);
    ::freeifaddrs(entries);
    return up;
}

} // namespace

bool connected() {
    if (offlineForced())
        return false;
    // A named server counts as reachable; a value that names none is no
    // connection, whatever the interfaces say.
    if (const auto server = dnsServerVariable())
        return parseDnsServerAddress(*server).has_value();
    return networkInterfaceUp();
}

} // namespace statvane::resolver
