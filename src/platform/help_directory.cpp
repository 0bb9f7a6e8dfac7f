#include "platform/help_directory.h"

#include "platform/program_directory.h"

#include <cstdlib>
#include <system_error>

namespace statvane {

std::filesystem::path helpDirectory() {
    if (const char* chosen = std::getenv("STATVANE_HELP_DIR"); chosen && *chosen)
        return chosen;
    const auto beside = executableDirectory() / "help";
    std::error_code error;
    if (std::filesystem::is_directory(beside, error))
        return beside;
    return STATVANE_HELP_INSTALL_DIR;
}

} // namespace statvane
