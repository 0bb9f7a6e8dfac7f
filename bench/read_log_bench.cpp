// Times the log pass on one log, every per-line analysis selected: the best
// of several runs with a warm cache, and the process's peak memory against
// the file's size. STATVANE_THREADS sets the threads, as in a run.
#include "../tests/support/unwatched_run.h"
#include "analysis/log_pass.h"
#include "platform/thread_count.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>

namespace {

double peakMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024 / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s LOG [RUNS]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path file = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    const statvane::PassSelection selection = statvane::test::everyLineAnalysis();
    double best = 1e9;
    std::size_t lineCount = 0;
    statvane::test::UnwatchedRun observer;
    for (int run = 0; run < runs; ++run) {
        statvane::PassTotals totals;
        statvane::CheckPoints checks(observer, 1);
        const auto start = std::chrono::steady_clock::now();
        const auto end = statvane::runLogPass({&file, 1}, selection, totals, checks,
                                              {statvane::passThreadCount()});
        if (end.status != statvane::PassEnd::Status::Done) {
            std::fprintf(stderr, "cannot read %s: %s\n", file.c_str(), end.reason.c_str());
            return 1;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
        lineCount = totals.lines;
    }
    const auto size = std::filesystem::file_size(file);
    std::printf("lines %zu  file %.1f MB  best %.4f s  peak memory %.1f MB  threads %zu\n",
                lineCount, static_cast<double>(size) / 1e6, best, peakMegabytes(),
                statvane::passThreadCount());
    return 0;
}
