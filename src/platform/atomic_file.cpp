#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace statvane {
namespace {

bool writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a link points to is the one replaced, so links stay links.
std::filesystem::path resolveLinks(const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::is_symlink(file, error)) {
        const auto target = std::filesystem::weakly_canonical(file, error);
        if (!error)
            return target;
    }
    return file;
}

} // namespace

bool replaceFileContents(const std::filesystem::path& requested, std::string_view contents,
                         mode_t newFileMode) {
    const std::filesystem::path file = resolveLinks(requested);
    mode_t mode = 0;
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode) || (existing.st_mode & 0222) == 0)
            return false;
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = newFileMode & ~mask;
    }

    std::string temporary = file.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    const bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, contents) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool readFileContents(const std::filesystem::path& file, std::string& contents) {
    contents.clear();
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return false;
    }
    char chunk[65536];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        contents.append(chunk, static_cast<std::size_t>(got));
    }
    const int readError = errno;
    ::close(fd);
    errno = readError;
    return ok;
}

} // namespace statvane
