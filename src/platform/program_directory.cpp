#include "platform/program_directory.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace statvane {
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
    if (const char* home = std::getenv("STATVANE_HOME"); home && *home)
        return withoutTrailingSeparator(home);
    const auto beside = executableDirectory();
    if (::access(beside.c_str(), W_OK) == 0)
        return beside;
    const auto data = userDataDirectory();
    std::error_code ignored;
    std::filesystem::create_directories(data, ignored);
    return data;
}

} // namespace statvane
