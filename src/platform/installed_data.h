#pragma once

#include <filesystem>
#include <string_view>

namespace statvane {

// A file or folder shipped with the program, by its name: the one beside the
// running executable when it exists (a build tree); else the one installed in
// share/statvane. Either may be missing.
std::filesystem::path installedDataPath(std::string_view name);

} // namespace statvane
