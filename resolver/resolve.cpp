// The entry points of the default resolver library.

#include "statvane/resolve.h"

#include "connection_check.h"
#include "reverse_lookup.h"

#include <string>

const char* ResolveIP(const char* address) {
    static std::string lastName;
    auto name = statvane::resolver::reverseLookup(address ? address : "");
    if (!name)
        return nullptr;
    lastName = std::move(*name);
    return lastName.c_str();
}

int Connection(void) {
    return statvane::resolver::connected() ? 1 : 0;
}
