// The entry points of the default resolver library.

#include "statvane/resolve.h"

#include "batch_lookup.h"
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

int ResolveMany(const char* const* addresses, int count, StatvaneResolveAnswer answer,
                StatvaneResolveProgress progress, void* context) {
    if (!answer || !addresses || count <= 0)
        return 1;
    statvane::resolver::BatchLookup batch(
        [&](int index, const char* name) { answer(context, index, name); },
        [&](int answered) { return !progress || progress(context, answered) != 0; });
    return batch.run(addresses, count) ? 1 : 0;
}
