#include "platform/thread_count.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <sched.h>

namespace statvane {
namespace {

constexpr unsigned kMostThreads = 64;

unsigned threadsAsked() {
    const char* text = std::getenv("STATVANE_THREADS");
    if (!text)
        return 0;
    unsigned asked = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, asked);
    if (error != std::errc{} || stop != end || asked < 1 || asked > kMostThreads)
        return 0;
    return asked;
}

unsigned processorsAllowed() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0)
        return 1;
    const int count = CPU_COUNT(&allowed);
    return count > 0 ? static_cast<unsigned>(count) : 1;
}

} // namespace

std::size_t passThreadCount() {
    if (const unsigned asked = threadsAsked())
        return asked;
    return processorsAllowed();
}

} // namespace statvane
