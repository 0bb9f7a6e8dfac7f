#include "analysis/log_lines.h"

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

// Reads to the end of the file, growing the buffer when the file is longer
// than its size said (a log still being written, a pipe).
bool readWhole(int fd, std::size_t expected, FileBuffer& buffer, std::size_t& size) {
    buffer = FileBuffer(expected > 0 ? expected + 1 : 65536);
    size = 0;
    for (;;) {
        if (size == buffer.capacity())
            buffer.grow(size);
        const ssize_t got = ::read(fd, buffer.data() + size, buffer.capacity() - size);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        size += static_cast<std::size_t>(got);
    }
}

} // namespace

std::size_t LogLines::memoryUsed() const {
    return bufferBytes_ + lines_.capacity() * sizeof(std::string_view);
}

void LogLines::clear() {
    lines_ = {};
    buffers_.clear();
    bufferBytes_ = 0;
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
            lines_.emplace_back(p + offset, std::min(kMaxLinePiece, length - offset));
        p = feed ? feed + 1 : end;
    }
    bufferBytes_ += size;
    buffers_.push_back(std::move(bytes));
}

bool readLogFile(const std::filesystem::path& file, LogLines& lines) {
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || S_ISDIR(info.st_mode))
        return false;
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    FileBuffer bytes;
    std::size_t size = 0;
    const std::size_t expected = S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : 0;
    if (!readWhole(fd.get(), expected, bytes, size))
        return false;
    lines.appendFile(std::move(bytes), size);
    return true;
}

} // namespace statvane
