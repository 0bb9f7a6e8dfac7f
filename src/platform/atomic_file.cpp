#include "platform/atomic_file.h"

#include "platform/error.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace statvane {
namespace {

// Leaves room for the dot and the ".XXXXXX" suffix within the 255 bytes a
// file name may have.
constexpr std::size_t kLongestNameKept = 240;

// How much of the new contents is gathered before it is written.
constexpr std::size_t kBufferSize = 64 * 1024;

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

// Why the file in the way cannot be replaced, if it cannot.
ReplaceResult refusal(const struct stat& old) {
    if (S_ISDIR(old.st_mode))
        return {ReplaceResult::Stage::Create, EISDIR};
    if (!S_ISREG(old.st_mode))
        return {ReplaceResult::Stage::Create, 0};
    if ((old.st_mode & 0222) == 0)
        return {ReplaceResult::Stage::Create, EACCES};
    return {};
}

mode_t replacementMode(const struct stat* old, mode_t newFileMode, FileReaders readers) {
    if (readers == FileReaders::OwnerOnly)
        return 0600;
    return old != nullptr ? old->st_mode & 07777 : newFileModeLessUmask(newFileMode);
}

} // namespace

std::string ReplaceResult::reason() const {
    return systemError_ != 0 ? systemErrorText(systemError_) : kNotARegularFile;
}

FileReplacement::FileReplacement(const std::filesystem::path& requested, mode_t newFileMode,
                                 FileReaders readers)
    : file_(resolveLinks(requested)) {
    struct stat old {};
    const bool exists = ::stat(file_.c_str(), &old) == 0;
    if (exists)
        result_ = refusal(old);
    if (!result_)
        return;
    std::string temporary = temporaryNameFor(file_);
    fd_ = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd_ < 0) {
        result_ = {ReplaceResult::Stage::Create, errno};
        return;
    }
    temporary_ = std::move(temporary);
    if (exists)
        keepOwner(fd_, old);
    if (::fchmod(fd_, replacementMode(exists ? &old : nullptr, newFileMode, readers)) != 0)
        fail(ReplaceResult::Stage::Create);
    else
        buffer_.reserve(kBufferSize);
}

FileReplacement::~FileReplacement() {
    discard();
}

void FileReplacement::append(std::string_view text) {
    if (fd_ < 0)
        return;
    if (buffer_.size() + text.size() > kBufferSize) {
        flush();
        if (text.size() >= kBufferSize) {
            write(text);
            return;
        }
    }
    buffer_ += text;
}

ReplaceResult FileReplacement::commit() {
    flush();
    if (fd_ >= 0 && ::fsync(fd_) != 0)
        fail(ReplaceResult::Stage::Write);
    if (fd_ >= 0 && ::close(std::exchange(fd_, -1)) != 0)
        fail(ReplaceResult::Stage::Write);
    if (result_ && ::rename(temporary_.c_str(), file_.c_str()) != 0)
        fail(ReplaceResult::Stage::Rename);
    if (result_)
        temporary_.clear();
    return result_;
}

void FileReplacement::write(std::string_view text) {
    if (fd_ >= 0 && !writeAll(fd_, text))
        fail(ReplaceResult::Stage::Write);
}

void FileReplacement::flush() {
    write(buffer_);
    buffer_.clear();
}

void FileReplacement::fail(ReplaceResult::Stage stage) {
    result_ = {stage, errno};
    discard();
}

// Closes and removes the temporary file, if there is one.
void FileReplacement::discard() {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

ReplaceResult replaceFileContents(const std::filesystem::path& file, std::string_view contents,
                                  mode_t newFileMode, FileReaders readers) {
    FileReplacement replacement(file, newFileMode, readers);
    replacement.append(contents);
    return replacement.commit();
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
