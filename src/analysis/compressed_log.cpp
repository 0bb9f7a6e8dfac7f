#include "analysis/compressed_log.h"

#include "platform/error.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <vector>

namespace statvane {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;

class CompressedLogReader : public LogFileReader {
  public:
    CompressedLogReader(FileDescriptor fd, std::unique_ptr<Decompressor> decompressor)
        : fd_(std::move(fd)), decompressor_(std::move(decompressor)), input_(kChunk) {}

    std::optional<std::size_t> read(std::span<char> room) override {
        const std::size_t size = room.size();
        while (!room.empty()) {
            // Input is read only once the decompressor has given all it could
            // of the last: a full room may leave more inside it.
            if (pending_.empty() && drained_) {
                const ssize_t got = readChunk();
                if (got < 0)
                    return fail(systemErrorText(errno));
                if (got == 0)
                    return endOfFile(size - room.size());
                pending_ = std::span<const char>(input_.data(), static_cast<std::size_t>(got));
            }
            if (!inStream_)
                skipPadding();
            if (!inStream_ && !pending_.empty()) {
                decompressor_->startStream();
                inStream_ = true;
            }
            if (!decompressOnce(room))
                return fail(damaged());
        }
        return size;
    }

  private:
    ssize_t readChunk() {
        for (;;) {
            const ssize_t got = ::read(fd_.get(), input_.data(), input_.size());
            if (got >= 0 || errno != EINTR)
                return got;
        }
    }

    void skipPadding() {
        if (!decompressor_->skipsZerosAfterStream())
            return;
        const auto data =
            std::find_if(pending_.begin(), pending_.end(), [](char byte) { return byte != '\0'; });
        pending_ = pending_.subspan(static_cast<std::size_t>(data - pending_.begin()));
    }

    // Decompresses into the front of room and drops from it what was filled.
    bool decompressOnce(std::span<char>& room) {
        const std::size_t offered = pending_.size();
        const std::size_t roomBefore = room.size();
        const auto step = decompressor_->step(pending_, room);
        const std::size_t produced = roomBefore - room.size();
        // Input that gives nothing and is not taken would be offered for ever.
        const bool stuck = offered > 0 && pending_.size() == offered && produced == 0;
        if (step == Decompressor::Step::Damaged || (stuck && step == Decompressor::Step::Going))
            return false;
        inStream_ = step != Decompressor::Step::StreamEnd;
        drained_ = !room.empty() || !inStream_;
        return true;
    }

    std::optional<std::size_t> endOfFile(std::size_t filled) {
        if (inStream_)
            return fail(std::string(decompressor_->formatName()) + " data cut short");
        return filled;
    }

    std::optional<std::size_t> fail(std::string reason) {
        reason_ = std::move(reason);
        return std::nullopt;
    }

    std::string damaged() const {
        return "damaged " + std::string(decompressor_->formatName()) +
               " data: " + decompressor_->damage();
    }

    FileDescriptor fd_;
    std::unique_ptr<Decompressor> decompressor_;
    std::vector<char> input_;
    std::span<const char> pending_;
    bool inStream_ = false;
    bool drained_ = true;
};

} // namespace

std::unique_ptr<LogFileReader> makeCompressedLogReader(FileDescriptor fd,
                                                       std::unique_ptr<Decompressor> decompressor) {
    return std::make_unique<CompressedLogReader>(std::move(fd), std::move(decompressor));
}

} // namespace statvane
