#include "analysis/log_pass.h"

#include "analysis/block_workers.h"
#include "analysis/line_pieces.h"
#include "analysis/log_file_reader.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <string_view>

namespace statvane {
namespace {

using Status = PassEnd::Status;

const PassEnd kCancelled{Status::Cancelled, 0, {}};

// How long the reading thread waits on the counting threads before it looks
// at Cancel again.
constexpr std::chrono::milliseconds kPatience(30);

// The reading side of a pass: reads the files into blocks, hands them to the
// workers and adds up the counted ones in the order they were read.
class LogPass {
  public:
    LogPass(const PassSelection& selection, PassTotals& totals, CheckPoints& checks,
            const PassSettings& settings)
        : selection_(selection), totals_(totals), checks_(checks), settings_(settings),
          mostInFlight_(std::max<std::size_t>(settings.threads, 1) + 1),
          workers_(std::max<std::size_t>(settings.threads, 1), selection) {}

    PassEnd run(std::span<const std::filesystem::path> files) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            std::string reason;
            const auto reader = openLogFile(files[i], reason);
            if (!reader)
                return {Status::Unreadable, i, reason};
            totals_.files.resize(i + 1);
            const PassEnd read = readFile(*reader, i);
            if (read.status != Status::Done)
                return read;
        }
        while (!inFlight_.empty())
            if (!addUpFront())
                return kCancelled;
        totals_.finish();
        if (!checks_.pass([this] { return linesText(); }, true))
            return kCancelled;
        return {};
    }

  private:
    PassEnd readFile(LogFileReader& reader, std::size_t file) {
        carried_.clear();
        for (bool ended = false; !ended;) {
            LogBlock* block = freeBlock();
            if (!block)
                return kCancelled;
            const auto filled = fill(reader, *block, ended);
            if (!filled)
                return {Status::Unreadable, file, reader.reason()};
            block->file = file;
            handOver(*block, *filled, ended);
            if (!checks_.pass([this] { return linesText(); }))
                return kCancelled;
        }
        return {};
    }

    // Fills the block with the bytes carried from the last one and as many
    // more as a block takes, reading on while no cut is possible; the bytes
    // read, or nothing when the file cannot be read on.
    std::optional<std::size_t> fill(LogFileReader& reader, LogBlock& block, bool& ended) {
        std::size_t filled = carried_.size();
        reserve(block, filled + settings_.blockSize);
        std::memcpy(block.bytes.get(), carried_.data(), filled);
        for (;;) {
            const std::size_t wanted = block.capacity - filled;
            const auto got = reader.read({block.bytes.get() + filled, wanted});
            if (!got)
                return std::nullopt;
            filled += *got;
            ended = *got < wanted;
            if (ended || blockLength({block.bytes.get(), filled}, false) > 0)
                return filled;
            reserve(block, 2 * block.capacity, filled);
        }
    }

    // Cuts the filled block where its whole lines end, keeps the rest for the
    // next block and hands the block to the workers.
    void handOver(LogBlock& block, std::size_t filled, bool ended) {
        const std::string_view bytes(block.bytes.get(), filled);
        block.size = blockLength(bytes, ended);
        carried_.assign(bytes.substr(block.size));
        workers_.count(block);
    }

    static void reserve(LogBlock& block, std::size_t capacity, std::size_t keep = 0) {
        if (block.capacity >= capacity)
            return;
        auto larger = std::make_unique_for_overwrite<char[]>(capacity);
        if (keep > 0)
            std::memcpy(larger.get(), block.bytes.get(), keep);
        block.bytes = std::move(larger);
        block.capacity = capacity;
    }

    // A block to fill: a new one while few are in flight, otherwise the
    // oldest, once it has been counted and added up. Nothing on Cancel.
    LogBlock* freeBlock() {
        if (inFlight_.size() < mostInFlight_) {
            inFlight_.push_back(std::make_unique<LogBlock>());
            return inFlight_.back().get();
        }
        if (!addUpFront())
            return nullptr;
        inFlight_.push_back(std::move(spare_));
        return inFlight_.back().get();
    }

    // Waits for the oldest block, adds it up and keeps it as the spare.
    // False on Cancel.
    bool addUpFront() {
        LogBlock& front = *inFlight_.front();
        while (!workers_.waitFor(front, kPatience))
            if (!checks_.pass([this] { return linesText(); }))
                return false;
        if (front.failure)
            std::rethrow_exception(front.failure);
        totals_.add(front.tally, front.file, selection_);
        spare_ = std::move(inFlight_.front());
        inFlight_.pop_front();
        return true;
    }

    std::string linesText() const { return std::to_string(totals_.lines); }

    const PassSelection& selection_;
    PassTotals& totals_;
    CheckPoints& checks_;
    const PassSettings& settings_;
    const std::size_t mostInFlight_;
    std::string carried_;
    std::unique_ptr<LogBlock> spare_;
    std::deque<std::unique_ptr<LogBlock>> inFlight_;
    // Last, so that the threads have stopped before the blocks go.
    BlockWorkers workers_;
};

} // namespace

PassEnd runLogPass(std::span<const std::filesystem::path> files, const PassSelection& selection,
                   PassTotals& totals, CheckPoints& checks, const PassSettings& settings) {
    return LogPass(selection, totals, checks, settings).run(files);
}

} // namespace statvane
