// A resolver library for tests, answering from a table instead of DNS.
// ResolveIP: names from the file named by STATVANE_TEST_RESOLVER_TABLE (lines
// "address name"); an address not listed gives a null pointer. Every address
// asked is appended, one per line, to the file named by
// STATVANE_TEST_RESOLVER_LOG when that is set, as "overlapping <address>"
// when another ResolveIP call was under way. Each call takes the number of
// milliseconds in STATVANE_TEST_RESOLVER_DELAY_MS, if set, before it answers.
// Connection: not connected when STATVANE_TEST_CONNECTED is "0", else
// connected.
// ResolveMany, built in when STATVANE_TEST_RESOLVE_MANY is defined: asks
// progress before the first address and after each, stopping when it says
// so; each address is answered (and recorded) as ResolveIP does.

#include "statvane/resolve.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void recordAsked(const std::string& address) {
    const std::string log = variable("STATVANE_TEST_RESOLVER_LOG");
    if (!log.empty())
        std::ofstream(log, std::ios::app | std::ios::binary) << address << '\n';
}

void waitTheDelay() {
    const std::string delay = variable("STATVANE_TEST_RESOLVER_DELAY_MS");
    if (!delay.empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(delay)));
}

std::atomic<int> callsUnderWay{0};

std::optional<std::string> nameInTable(const std::string& address) {
    std::ifstream table(variable("STATVANE_TEST_RESOLVER_TABLE"));
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string listed;
        std::string name;
        if (fields >> listed >> name && listed == address)
            return name;
    }
    return std::nullopt;
}

} // namespace

const char* ResolveIP(const char* address) {
    static std::string lastName;
    const std::string asked = address ? address : "";
    const bool overlapping = callsUnderWay++ > 0;
    recordAsked(overlapping ? "overlapping " + asked : asked);
    waitTheDelay();
    const auto name = nameInTable(asked);
    --callsUnderWay;
    if (!name)
        return nullptr;
    lastName = *name;
    return lastName.c_str();
}

int Connection(void) {
    return variable("STATVANE_TEST_CONNECTED") == "0" ? 0 : 1;
}

#ifdef STATVANE_TEST_RESOLVE_MANY
int ResolveMany(const char* const* addresses, int count, StatvaneResolveAnswer answer,
                StatvaneResolveProgress progress, void* context) {
    for (int index = 0; index < count; ++index) {
        if (progress && !progress(context, index))
            return 0;
        answer(context, index, ResolveIP(addresses[index]));
    }
    return 1;
}
#endif
