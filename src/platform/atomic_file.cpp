#include "platform/atomic_file.h"

#include "platform/error.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace statvane {
namespace {

// Leaves room for the dot and the ".XXXXXX" suffix within the 255 bytes a
// file name may have.
constexpr std::size_t kLongestNameKept = 240;

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

// As many links in a row as the system follows before it gives up (ELOOP).
constexpr int kLinksFollowed = 40;

// The file a link points to is the one replaced, so links stay links; a link
// whose file does not exist yet gets that file.
std::filesystem::path resolveLinks(std::filesystem::path file) {
    std::error_code error;
    for (int followed = 0; followed < kLinksFollowed; ++followed) {
        const auto target = std::filesystem::read_symlink(file, error);
        if (error)
            break;
        file = file.parent_path() / target; // an absolute target replaces the whole
    }
    return file;
}

std::string temporaryNameFor(const std::filesystem::path& file) {
    std::string name = file.filename().string();
    name.resize(std::min(name.size(), kLongestNameKept));
    return (file.parent_path() / ("." + name + ".XXXXXX")).string();
}

mode_t newFileModeLessUmask(mode_t newFileMode) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return newFileMode & ~mask;
}

// Gives the temporary file the old file's owner and group, so that a job run
// as root does not take a user's file away from them.
void keepOwner(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Refused: only root may give a file away. The file then belongs to
        // whoever runs the program, as any file it creates does.
    }
}

// Gives the temporary file its mode and contents and flushes it to the disk;
// closes it in every case.
ReplaceResult fillTemporary(int fd, mode_t mode, std::string_view contents) {
    ReplaceResult result;
    if (::fchmod(fd, mode) != 0)
        result = {ReplaceResult::Stage::Create, errno};
    else if (!writeAll(fd, contents) || ::fsync(fd) != 0)
        result = {ReplaceResult::Stage::Write, errno};
    if (::close(fd) != 0 && result)
        result = {ReplaceResult::Stage::Write, errno};
    return result;
}

} // namespace

std::string ReplaceResult::reason() const {
    return systemError_ != 0 ? systemErrorText(systemError_) : kNotARegularFile;
}

ReplaceResult replaceFileContents(const std::filesystem::path& requested, std::string_view contents,
                                  mode_t newFileMode, FileReaders readers) {
    const std::filesystem::path file = resolveLinks(requested);
    struct stat old {};
    const bool exists = ::stat(file.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return {ReplaceResult::Stage::Create, EISDIR};
    if (exists && !S_ISREG(old.st_mode))
        return {ReplaceResult::Stage::Create, 0};
    if (exists && (old.st_mode & 0222) == 0)
        return {ReplaceResult::Stage::Create, EACCES};

    std::string temporary = temporaryNameFor(file);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return {ReplaceResult::Stage::Create, errno};
    if (exists)
        keepOwner(fd, old);
    const mode_t mode = readers == FileReaders::OwnerOnly ? 0600
                        : exists                          ? old.st_mode & 07777
                                                          : newFileModeLessUmask(newFileMode);
    ReplaceResult result = fillTemporary(fd, mode, contents);
    if (result && ::rename(temporary.c_str(), file.c_str()) != 0)
        result = {ReplaceResult::Stage::Rename, errno};
    if (!result)
        ::unlink(temporary.c_str());
    return result;
}

bool readFileContents(const std::filesystem::path& file, std::string& contents) {
    contents.clear();
    // O_NONBLOCK keeps the open of a FIFO without a writer from waiting for
    // one; it changes nothing for a regular file.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        const int error = !known ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
        ::close(fd);
        errno = error;
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
