// Times a table of KEYS (1,000,000) distinct keys of about 60 bytes, as a log
// whose every page is distinct leaves it: tallying each key twice, sorting by
// count, finding every key again after the sort, and freeing the table. Prints
// each time and the process's peak resident memory.
#include "analysis/tally_table.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string key(std::size_t i) {
    return "/articles/2026/12/" + std::to_string(i * 2654435761u % 1000000007u) +
           "/a-page-of-the-whole-site.html";
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t keys = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000000;
    auto* table = new statvane::TallyTable;

    auto start = Clock::now();
    for (std::size_t i = 0; i < keys; ++i)
        table->tally(key(i));
    for (std::size_t i = 0; i < keys; i += 2)
        table->tally(key(i));
    const double tally = secondsSince(start);

    start = Clock::now();
    table->stableSort(
        [](const statvane::TallyRow& a, const statvane::TallyRow& b) { return a.count > b.count; });
    const double sort = secondsSince(start);

    start = Clock::now();
    std::size_t found = 0;
    for (std::size_t i = 0; i < keys; ++i)
        found += table->find(key(i)).has_value();
    const double find = secondsSince(start);

    start = Clock::now();
    delete table;
    const double free = secondsSince(start);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%zu keys (%zu found): tally %.3f s, sort %.3f s, find after sort %.3f s, "
                "free %.3f s, peak RSS %.1f MiB\n",
                keys, found, tally, sort, find, free, usage.ru_maxrss / 1024.0);
    return found == keys ? 0 : 1;
}
