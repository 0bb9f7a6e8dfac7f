#pragma once

#include <filesystem>

namespace statvane {

// The folder of the help pages: $STATVANE_HELP_DIR when set; else the folder
// "help" beside the running executable when it exists (a build tree); else
// the installed share/statvane/help. The folder itself may be missing.
std::filesystem::path helpDirectory();

} // namespace statvane
