#include "analysis/compressed_log.h"

#include "analysis/line_splitter.h"
#include "platform/error.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <vector>

namespace statvane {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;

using Status = LogFileRead::Status;

class CompressedRead {
  public:
    CompressedRead(int fd, Decompressor& decompressor, LineSplitter& splitter)
        : fd_(fd), decompressor_(decompressor), splitter_(splitter), input_(kChunk),
          output_(kChunk) {}

    LogFileRead run(CheckPoints& checks) {
        for (;;) {
            // Input is read only once the decompressor has given all it could
            // of the last: a full output chunk may leave more inside it.
            if (pending_.empty() && drained_) {
                const ssize_t got = readChunk();
                if (got < 0)
                    return {Status::Unreadable, systemErrorText(errno)};
                if (got == 0)
                    return endOfFile();
                pending_ = std::span<const char>(input_.data(), static_cast<std::size_t>(got));
            }
            if (!inStream_)
                skipPadding();
            if (!inStream_ && !pending_.empty()) {
                decompressor_.startStream();
                inStream_ = true;
            }
            if (!decompressOnce())
                return {Status::Unreadable, damaged()};
            if (!checks.passWithoutCount())
                return {Status::Cancelled, {}};
        }
    }

  private:
    ssize_t readChunk() {
        for (;;) {
            const ssize_t got = ::read(fd_, input_.data(), input_.size());
            if (got >= 0 || errno != EINTR)
                return got;
        }
    }

    void skipPadding() {
        if (!decompressor_.skipsZerosAfterStream())
            return;
        const auto data =
            std::find_if(pending_.begin(), pending_.end(), [](char byte) { return byte != '\0'; });
        pending_ = pending_.subspan(static_cast<std::size_t>(data - pending_.begin()));
    }

    bool decompressOnce() {
        std::span<char> room(output_);
        const std::size_t offered = pending_.size();
        const auto step = decompressor_.step(pending_, room);
        const std::size_t produced = output_.size() - room.size();
        splitter_.feed({output_.data(), produced});
        // Input that gives nothing and is not taken would be offered for ever.
        const bool stuck = offered > 0 && pending_.size() == offered && produced == 0;
        if (step == Decompressor::Step::Damaged || (stuck && step == Decompressor::Step::Going))
            return false;
        inStream_ = step != Decompressor::Step::StreamEnd;
        drained_ = !room.empty() || !inStream_;
        return true;
    }

    LogFileRead endOfFile() const {
        if (inStream_)
            return {Status::Unreadable,
                    std::string(decompressor_.formatName()) + " data cut short"};
        return {};
    }

    std::string damaged() const {
        return "damaged " + std::string(decompressor_.formatName()) +
               " data: " + decompressor_.damage();
    }

    int fd_;
    Decompressor& decompressor_;
    LineSplitter& splitter_;
    std::vector<char> input_;
    std::vector<char> output_;
    std::span<const char> pending_;
    bool inStream_ = false;
    bool drained_ = true;
};

} // namespace

LogFileRead readCompressedLog(int fd, Decompressor& decompressor, LogLines& lines,
                              CheckPoints& checks) {
    const LogLines::Mark mark = lines.mark();
    LineSplitter splitter(lines);
    const LogFileRead read = CompressedRead(fd, decompressor, splitter).run(checks);
    if (read.status == Status::Read)
        splitter.finish();
    else
        lines.rollBack(mark);
    return read;
}

} // namespace statvane
