#include "analysis/log_file_reader.h"

#include "analysis/compressed_log.h"
#include "analysis/decompressor.h"
#include "platform/error.h"
#include "platform/file_descriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace statvane {
namespace {

// Opens a file for reading when it is a regular file; otherwise says why.
// O_NONBLOCK keeps the open of a FIFO without a writer from waiting for one;
// it changes nothing for a regular file.
FileDescriptor openRegularFile(const std::filesystem::path& file, std::string& reason) {
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        reason = systemErrorText(errno);
        return fd;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        reason = systemErrorText(errno);
    else if (S_ISDIR(info.st_mode))
        reason = systemErrorText(EISDIR);
    else if (!S_ISREG(info.st_mode))
        reason = kNotARegularFile;
    else
        return fd;
    return FileDescriptor();
}

class PlainLogReader : public LogFileReader {
  public:
    explicit PlainLogReader(FileDescriptor fd) : fd_(std::move(fd)) {}

    std::optional<std::size_t> read(std::span<char> room) override {
        std::size_t filled = 0;
        while (filled < room.size()) {
            const ssize_t got = ::read(fd_.get(), room.data() + filled, room.size() - filled);
            if (got == 0)
                break;
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                reason_ = systemErrorText(errno);
                return std::nullopt;
            }
            filled += static_cast<std::size_t>(got);
        }
        return filled;
    }

  private:
    FileDescriptor fd_;
};

} // namespace

std::unique_ptr<LogFileReader> openLogFile(const std::filesystem::path& file, std::string& reason) {
    FileDescriptor fd = openRegularFile(file, reason);
    if (fd.get() < 0)
        return nullptr;
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    if (auto decompressor = decompressorFor(fd.get()))
        return makeCompressedLogReader(std::move(fd), std::move(decompressor));
    return std::make_unique<PlainLogReader>(std::move(fd));
}

std::optional<std::string> unreadableReason(const std::filesystem::path& file) {
    std::string reason;
    if (openRegularFile(file, reason).get() < 0)
        return reason;
    return std::nullopt;
}

} // namespace statvane
