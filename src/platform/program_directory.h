#pragma once

#include <filesystem>

namespace statvane {

// The folder that holds reports.dat, files.dat, dns.log and resolve.so:
// $STATVANE_HOME when set; else the folder of the running executable when it
// is writable; else $XDG_DATA_HOME/statvane (default ~/.local/share/statvane),
// created on first use. Never ends with a separator.
std::filesystem::path programDirectory();

// The folder of the running executable.
std::filesystem::path executableDirectory();

} // namespace statvane
