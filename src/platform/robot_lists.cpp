#include "platform/robot_lists.h"

#include "platform/installed_data.h"

namespace statvane {

namespace {
constexpr const char* kRobotList = "robots.list";
}

std::filesystem::path shippedRobotList() {
    return installedDataPath(kRobotList);
}

std::filesystem::path userRobotList(const std::filesystem::path& programDirectory) {
    return programDirectory / kRobotList;
}

} // namespace statvane
