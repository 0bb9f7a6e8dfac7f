#pragma once

#include <filesystem>

namespace statvane {

// The file that the build puts beside the program it makes, and that no
// installation carries: a program with it beside itself runs from its build
// tree.
extern const char* const kBuildTreeMarker;

// The folder that holds reports.dat, files.dat, dns.log and resolve.so:
// $STATVANE_HOME when set; else the folder of the running executable when it
// is a build tree; else $XDG_DATA_HOME/statvane (default
// ~/.local/share/statvane), created on first use. Never ends with a separator.
std::filesystem::path programDirectory();

// The same for a program whose executable lies in executableFolder.
std::filesystem::path programDirectoryBeside(const std::filesystem::path& executableFolder);

// Whether the build's marker stands in the folder.
bool isBuildTree(const std::filesystem::path& executableFolder);

// The folder of the running executable.
std::filesystem::path executableDirectory();

// The process's working folder, or an empty path when it cannot be named (it
// was deleted, or a folder above it cannot be read). Relative names joined to
// the empty path stay relative and are opened in the working folder itself,
// where a deleted one holds nothing.
std::filesystem::path workingDirectory();

} // namespace statvane
