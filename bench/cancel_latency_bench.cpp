// How soon the log pass sees Cancel: Cancel is pressed at several moments of
// a pass over one log, and the time from the press to the pass's end is
// measured each time. Usage: cancel_latency_bench LOG
#include "../tests/support/unwatched_run.h"
#include "analysis/log_pass.h"
#include "platform/thread_count.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

namespace {

using Clock = std::chrono::steady_clock;

// Presses Cancel once the moment has come.
class CancelAt : public statvane::test::UnwatchedRun {
  public:
    explicit CancelAt(Clock::time_point moment) : moment_(moment) {}
    bool cancelRequested() override { return Clock::now() >= moment_; }

  private:
    Clock::time_point moment_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s LOG\n", argv[0]);
        return 2;
    }
    const std::filesystem::path file = argv[1];
    const statvane::PassSelection selection = statvane::test::everyLineAnalysis();
    double worst = 0;
    for (const int after : {20, 50, 100, 150, 200, 300}) {
        const auto moment = Clock::now() + std::chrono::milliseconds(after);
        CancelAt observer(moment);
        statvane::CheckPoints checks(observer, 1);
        statvane::PassTotals totals;
        const auto end = statvane::runLogPass({&file, 1}, selection, totals, checks,
                                              {statvane::passThreadCount()});
        if (end.status != statvane::PassEnd::Status::Cancelled) {
            std::printf("Cancel at %d ms: the pass had ended before\n", after);
            continue;
        }
        const double late = std::chrono::duration<double>(Clock::now() - moment).count();
        worst = std::max(worst, late);
        std::printf("Cancel at %d ms: seen after %.1f ms\n", after, late * 1000);
    }
    std::printf("slowest: %.1f ms (goal: under 100 ms)\n", worst * 1000);
    return 0;
}
