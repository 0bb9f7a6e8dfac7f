#include "analysis/block_workers.h"

#include <string_view>

namespace statvane {

BlockWorkers::BlockWorkers(std::size_t threads, const PassSelection& selection)
    : selection_(selection) {
    threads_.reserve(threads);
    try {
        for (std::size_t i = 0; i < threads; ++i)
            threads_.emplace_back([this] { work(); });
    } catch (...) {
        stop();
        throw;
    }
}

BlockWorkers::~BlockWorkers() {
    stop();
}

void BlockWorkers::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    waiting_.notify_all();
    for (auto& thread : threads_)
        thread.join();
    threads_.clear();
}

void BlockWorkers::count(LogBlock& block) {
    {
        const std::lock_guard lock(mutex_);
        block.counted = false;
        queue_.push_back(&block);
    }
    waiting_.notify_one();
}

bool BlockWorkers::waitFor(const LogBlock& block, std::chrono::milliseconds patience) {
    std::unique_lock lock(mutex_);
    return counted_.wait_for(lock, patience, [&block] { return block.counted; });
}

void BlockWorkers::work() {
    for (;;) {
        LogBlock* block = nullptr;
        {
            std::unique_lock lock(mutex_);
            waiting_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_)
                return;
            block = queue_.front();
            queue_.pop_front();
        }
        try {
            block->failure = nullptr;
            block->tally.clear();
            block->tally.count(std::string_view(block->bytes.get(), block->size), selection_);
        } catch (...) {
            block->failure = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex_);
            block->counted = true;
        }
        counted_.notify_all();
    }
}

} // namespace statvane
