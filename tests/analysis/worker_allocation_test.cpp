// An allocation that fails on a counting thread reaches the thread that runs
// the pass as std::bad_alloc. This program replaces operator new so that it
// can make allocations fail on every thread but the test's own.
#include "analysis/log_pass.h"
#include "steps_fixture.h"
#include "support/temp_dir.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>
#include <thread>

namespace {

std::atomic<bool> failOnOtherThreads{false};
const std::thread::id testThread = std::this_thread::get_id();

} // namespace

void* operator new(std::size_t size) {
    if (failOnOtherThreads && std::this_thread::get_id() != testThread)
        throw std::bad_alloc();
    if (void* block = std::malloc(size > 0 ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace statvane {
namespace {

TEST(WorkerAllocation, FailureOnACountingThreadIsRaisedByThePass) {
    test::TempDir dir;
    std::string log;
    for (int i = 0; i < 1000; ++i)
        log +=
            test::combined("10.0.0." + std::to_string(i % 250), "GET /p HTTP/1.0", "-", "Agent") +
            "\n";
    test::writeFile(dir / "access.log", log);
    const std::vector<std::filesystem::path> files{dir / "access.log"};
    PassSelection selection;
    selection.visitors = selection.browsers = true;
    test::RecordingObserver observer;
    CheckPoints checks(observer, 1);

    for (const bool failing : {true, false}) {
        SCOPED_TRACE(failing);
        failOnOtherThreads = failing;
        PassTotals totals;
        const auto pass = [&] { return runLogPass(files, selection, totals, checks, {2, 4096}); };
        if (failing) {
            EXPECT_THROW(pass(), std::bad_alloc);
        } else {
            EXPECT_EQ(pass().status, PassEnd::Status::Done);
            EXPECT_EQ(totals.lines, 1000u);
        }
    }
    failOnOtherThreads = false;
}

} // namespace
} // namespace statvane
