#include "analysis/log_lines.h"

#include "analysis/combined_layout.h"
#include "analysis/compressed_log.h"
#include "analysis/decompressor.h"
#include "platform/error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace statvane {
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Reading a few megabytes at a time keeps Cancel answered within a moment
// even while a file of gigabytes is read.
constexpr std::size_t kReadPiece = std::size_t{4} << 20;

// Opens a file for reading when it is a regular file and learns its size;
// otherwise returns -1 and says why. O_NONBLOCK keeps the open of a FIFO
// without a writer from waiting for one; it changes nothing for a regular
// file.
int openRegularFile(const std::filesystem::path& file, std::size_t& size, std::string& reason) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = systemErrorText(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        reason = systemErrorText(errno);
    } else if (S_ISDIR(info.st_mode)) {
        reason = systemErrorText(EISDIR);
    } else if (!S_ISREG(info.st_mode)) {
        reason = kNotARegularFile;
    } else {
        size = static_cast<std::size_t>(info.st_size);
        return fd;
    }
    ::close(fd);
    return -1;
}

// Reads to the end of the file a piece at a time with a check point after
// each piece, growing the buffer when the file is longer than its size said
// (a log still being written).
LogFileRead readWhole(int fd, std::size_t expected, FileBuffer& buffer, std::size_t& size,
                      CheckPoints& checks) {
    buffer = FileBuffer(expected > 0 ? expected + 1 : 65536);
    size = 0;
    for (;;) {
        if (size == buffer.capacity())
            buffer.grow(size);
        const std::size_t wanted = std::min(kReadPiece, buffer.capacity() - size);
        const ssize_t got = ::read(fd, buffer.data() + size, wanted);
        if (got == 0)
            return {};
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return {LogFileRead::Status::Unreadable, systemErrorText(errno)};
        }
        size += static_cast<std::size_t>(got);
        if (!checks.passWithoutCount())
            return {LogFileRead::Status::Cancelled, {}};
    }
}

LogFileRead readLines(const std::filesystem::path& file, LogLines& lines, CheckPoints& checks) {
    std::size_t expected = 0;
    std::string reason;
    FileDescriptor fd(openRegularFile(file, expected, reason));
    if (fd.get() < 0)
        return {LogFileRead::Status::Unreadable, reason};
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    if (const auto decompressor = decompressorFor(fd.get()))
        return readCompressedLog(fd.get(), *decompressor, lines, checks);
    FileBuffer bytes;
    std::size_t size = 0;
    LogFileRead read = readWhole(fd.get(), expected, bytes, size, checks);
    if (read.status == LogFileRead::Status::Read)
        lines.appendFile(std::move(bytes), size);
    return read;
}

} // namespace

std::size_t LogLines::memoryUsed() const {
    return bufferBytes_ + lines_.capacity() * sizeof(std::string_view);
}

void LogLines::clear() {
    lines_ = {};
    buffers_.clear();
    bufferBytes_ = 0;
    outsideLayout_ = 0;
}

void LogLines::appendFile(FileBuffer bytes, std::size_t size) {
    const char* p = bytes.data();
    const char* const end = p + size;
    // Views cost 16 bytes a line; reserve from a guess at the line length
    // rather than doubling, which would briefly hold three times as many.
    if (size > 0)
        lines_.reserve(lines_.size() + size / 160 + 16);
    while (p < end) {
        const char* feed =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* stop = feed ? feed : end;
        std::size_t length = static_cast<std::size_t>(stop - p);
        if (feed && length > 0 && p[length - 1] == '\r')
            --length;
        for (std::size_t offset = 0; offset < length; offset += kMaxLinePiece)
            addLine({p + offset, std::min(kMaxLinePiece, length - offset)});
        p = feed ? feed + 1 : end;
    }
    bufferBytes_ += size;
    buffers_.push_back(std::move(bytes));
}

void LogLines::addLine(std::string_view line) {
    lines_.push_back(line);
    if (!inCombinedLayout(line))
        ++outsideLayout_;
}

char* LogLines::addBlock(std::size_t capacity) {
    bufferBytes_ += capacity;
    return buffers_.emplace_back(capacity).data();
}

void LogLines::rollBack(const Mark& mark) {
    lines_.resize(mark.lines);
    buffers_.resize(mark.buffers);
    bufferBytes_ = mark.bufferBytes;
    outsideLayout_ = mark.outsideLayout;
}

LogFileRead readLogFile(const std::filesystem::path& file, LogLines& lines, CheckPoints& checks) {
    const LogLines::Mark before = lines.mark();
    LogFileRead read = readLines(file, lines, checks);
    if (read.status == LogFileRead::Status::Read) {
        read.lines = lines.size() - before.lines;
        read.outsideLayout = lines.outsideLayout() - before.outsideLayout;
    }
    return read;
}

std::optional<std::string> unreadableReason(const std::filesystem::path& file) {
    std::size_t size = 0;
    std::string reason;
    const FileDescriptor fd(openRegularFile(file, size, reason));
    if (fd.get() < 0)
        return reason;
    return std::nullopt;
}

} // namespace statvane
