#include "resolver_environment.h"

#include <cstdlib>
#include <string_view>

namespace statvane::resolver {

std::optional<std::string> dnsServerOverride() {
    const char* server = std::getenv("STATVANE_DNS_SERVER");
    if (!server || !*server)
        return std::nullopt;
    return server;
}

bool offlineForced() {
    const char* offline = std::getenv("STATVANE_OFFLINE");
    return offline && std::string_view(offline) == "1";
}

} // namespace statvane::resolver
