#include "resolver_environment.h"

#include <cstdlib>
#include <string_view>

namespace statvane::resolver {

bool offlineForced() {
    const char* offline = std::getenv("STATVANE_OFFLINE");
    return offline && std::string_view(offline) == "1";
}

} // namespace statvane::resolver
