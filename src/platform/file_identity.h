#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <sys/types.h>

namespace statvane {

// What tells one version of a file from another: a file replaced by rename
// is another inode, one changed in place has another size or time.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileIdentity& other) const;
};

// Nothing when there is no such file; errno tells why.
std::optional<FileIdentity> identityOf(const std::filesystem::path& file);

} // namespace statvane
