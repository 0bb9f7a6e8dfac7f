#include "platform/program_directory.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

TEST(ProgramDirectory, HomeOverrideWinsWithoutTrailingSeparator) {
    test::TempDir dir;
    test::ScopedEnv home("STATVANE_HOME", dir.path().string() + "/");
    EXPECT_EQ(programDirectory(), dir.path());
}

TEST(ProgramDirectory, DefaultsToTheWritableExecutableFolder) {
    test::ScopedEnv home("STATVANE_HOME", "");
    EXPECT_EQ(programDirectory(), executableDirectory());
    EXPECT_TRUE(std::filesystem::exists(executableDirectory() / "test_platform"));
}

} // namespace
} // namespace statvane
