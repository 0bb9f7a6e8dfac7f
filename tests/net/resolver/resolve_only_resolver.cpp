// A resolver library without Connection; every address resolves to one name.

#include "statvane/resolve.h"

const char* ResolveIP(const char* /*address*/) {
    return "resolve-only.statvane.test";
}
