#include "platform/file_identity.h"

#include <sys/stat.h>

namespace statvane {

bool FileIdentity::operator==(const FileIdentity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

std::optional<FileIdentity> identityOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0)
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

} // namespace statvane
