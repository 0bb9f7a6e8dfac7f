#pragma once

#include "analysis/block_tally.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace statvane {

// A block of one log file on its way through the counting threads.
struct LogBlock {
    std::unique_ptr<char[]> bytes;
    std::size_t capacity = 0;
    std::size_t size = 0;
    std::size_t file = 0;
    BlockTally tally;
    // What went wrong while it was counted (an allocation that failed).
    std::exception_ptr failure;
    // Set by the thread that counted it, read under the workers' lock.
    bool counted = false;
};

// Threads that count blocks with BlockTally, in the order they are handed
// over. Whoever hands a block over keeps it and waits for it; the threads
// only read its bytes and fill its tally. Blocks still waiting when the
// workers go are left uncounted.
class BlockWorkers {
  public:
    BlockWorkers(std::size_t threads, const PassSelection& selection);
    ~BlockWorkers();
    BlockWorkers(const BlockWorkers&) = delete;
    BlockWorkers& operator=(const BlockWorkers&) = delete;

    void count(LogBlock& block);
    // Waits at most `patience` for the block to be counted; true when it is.
    bool waitFor(const LogBlock& block, std::chrono::milliseconds patience);

  private:
    void work();
    void stop();

    const PassSelection& selection_;
    std::mutex mutex_;
    std::condition_variable waiting_;
    std::condition_variable counted_;
    std::deque<LogBlock*> queue_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace statvane
