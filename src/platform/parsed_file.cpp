#include "platform/parsed_file.h"

#include <cerrno>

namespace statvane {

bool readExistingFile(const std::filesystem::path& file, std::string& contents) {
    if (readFileContents(file, contents))
        return true;
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR)
        return false;
    throw FileReadError{error};
}

} // namespace statvane
