#pragma once

#include <filesystem>
#include <string_view>
#include <sys/types.h>

namespace statvane {

// Replaces a file's contents at once: the new contents go to a temporary file
// in the same folder, which is then renamed over the old one, so a crash never
// leaves half a file. An existing file keeps its mode; a new one gets
// newFileMode (less the umask). A file without any write permission bit counts
// as read-only and is refused. Returns false when the file could not be
// replaced; the old contents are then untouched.
bool replaceFileContents(const std::filesystem::path& file, std::string_view contents,
                         mode_t newFileMode = 0666);

// Reads a whole file; false when it is missing or cannot be read, with errno
// telling why (EISDIR for a folder).
bool readFileContents(const std::filesystem::path& file, std::string& contents);

} // namespace statvane
