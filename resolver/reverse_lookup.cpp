#include "reverse_lookup.h"

#include "ares_channel.h"

#include <netdb.h>

namespace statvane::resolver {
namespace {

struct Outcome {
    bool done = false;
    std::optional<std::string> name;
};

void onHostFound(void* argument, int status, int /*timeouts*/, hostent* host) {
    auto& outcome = *static_cast<Outcome*>(argument);
    outcome.done = true;
    if (status == ARES_SUCCESS && host && host->h_name)
        outcome.name = host->h_name;
}

void runUntilDone(ares_channel channel, const Outcome& outcome) {
    const auto deadline = Clock::now() + kLookupBudget;
    while (!outcome.done) {
        if (Clock::now() >= deadline) {
            ::ares_cancel(channel);
            return;
        }
        processOnce(channel, deadline);
    }
}

} // namespace

std::optional<std::string> reverseLookup(const std::string& dottedAddress) {
    const auto address = dottedIPv4(dottedAddress);
    if (!address)
        return std::nullopt;
    const Channel channel = openChannel();
    if (!channel)
        return std::nullopt;
    Outcome outcome;
    ::ares_gethostbyaddr(channel.get(), &*address, sizeof *address, AF_INET, onHostFound, &outcome);
    runUntilDone(channel.get(), outcome);
    return outcome.name;
}

} // namespace statvane::resolver
