#include "platform/help_directory.h"
#include "platform/program_directory.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

namespace fs = std::filesystem;

// A "help" folder beside the test program for one scope, as a build tree has
// beside the program.
class HelpBesideProgram {
  public:
    HelpBesideProgram() { fs::create_directory(folder); }
    ~HelpBesideProgram() { fs::remove(folder); }
    HelpBesideProgram(const HelpBesideProgram&) = delete;
    HelpBesideProgram& operator=(const HelpBesideProgram&) = delete;

    const fs::path folder = executableDirectory() / "help";
};

TEST(HelpDirectory, VariableThenFolderBesideProgramThenInstalledFolder) {
    test::TempDir chosen;
    test::ScopedEnv unset("STATVANE_HELP_DIR", "");
    ASSERT_FALSE(fs::exists(executableDirectory() / "help"));

    const fs::path installed = helpDirectory();
    EXPECT_TRUE(installed.is_absolute());
    EXPECT_TRUE(installed.string().ends_with("/share/statvane/help")) << installed;
    {
        test::ScopedEnv variable("STATVANE_HELP_DIR", chosen.path().string());
        EXPECT_EQ(helpDirectory(), chosen.path());
    }

    const HelpBesideProgram beside;
    EXPECT_EQ(helpDirectory(), beside.folder);
    test::ScopedEnv variable("STATVANE_HELP_DIR", chosen.path().string());
    EXPECT_EQ(helpDirectory(), chosen.path());
}

} // namespace
} // namespace statvane
