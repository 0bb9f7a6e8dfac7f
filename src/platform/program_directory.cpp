#include "platform/program_directory.h"

#include <cstdlib>
#include <system_error>

namespace statvane {

const char* const kBuildTreeMarker = STATVANE_BUILD_TREE_MARKER;

namespace {

std::filesystem::path withoutTrailingSeparator(std::filesystem::path folder) {
    std::string text = folder.string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

std::filesystem::path userDataDirectory() {
    std::filesystem::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        data = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        data = std::filesystem::path(home) / ".local" / "share";
    else
        data = ".local/share";
    return data / "statvane";
}

} // namespace

std::filesystem::path executableDirectory() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? workingDirectory() : executable.parent_path();
}

std::filesystem::path workingDirectory() {
    std::error_code unnamed; // the path is then empty
    return std::filesystem::current_path(unnamed);
}

std::filesystem::path programDirectory() {
    return programDirectoryBeside(executableDirectory());
}

std::filesystem::path programDirectoryBeside(const std::filesystem::path& executableFolder) {
    if (const char* home = std::getenv("STATVANE_HOME"); home && *home)
        return withoutTrailingSeparator(home);
    if (isBuildTree(executableFolder))
        return executableFolder;
    const auto data = userDataDirectory();
    std::error_code ignored;
    std::filesystem::create_directories(data, ignored);
    return data;
}

bool isBuildTree(const std::filesystem::path& executableFolder) {
    std::error_code unreadable; // counts as no marker
    return std::filesystem::exists(executableFolder / kBuildTreeMarker, unreadable);
}

} // namespace statvane
