#include "platform/installed_data.h"

#include "platform/program_directory.h"

#include <system_error>

namespace statvane {

std::filesystem::path installedDataPath(std::string_view name) {
    const auto beside = executableDirectory() / name;
    std::error_code error;
    if (std::filesystem::exists(beside, error))
        return beside;
    return std::filesystem::path(STATVANE_DATA_INSTALL_DIR) / name;
}

} // namespace statvane
