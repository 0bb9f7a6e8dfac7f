#include "platform/program_directory.h"
#include "platform/robot_lists.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

namespace fs = std::filesystem;

TEST(RobotLists, ShippedBesideProgramElseInstalledAndUsersInProgramDirectory) {
    const fs::path beside = executableDirectory() / "robots.list";
    ASSERT_FALSE(fs::exists(beside));
    const fs::path installed = shippedRobotList();
    EXPECT_TRUE(installed.is_absolute());
    EXPECT_TRUE(installed.string().ends_with("/share/statvane/robots.list")) << installed;

    test::writeFile(beside, "Googlebot\n");
    EXPECT_EQ(shippedRobotList(), beside);
    fs::remove(beside);

    EXPECT_EQ(userRobotList("/home/me/.local/share/statvane"),
              "/home/me/.local/share/statvane/robots.list");
}

} // namespace
} // namespace statvane
