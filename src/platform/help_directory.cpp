#include "platform/help_directory.h"

#include "platform/installed_data.h"

#include <cstdlib>

namespace statvane {

std::filesystem::path helpDirectory() {
    if (const char* chosen = std::getenv("STATVANE_HELP_DIR"); chosen && *chosen)
        return chosen;
    return installedDataPath("help");
}

} // namespace statvane
