#include "platform/program_directory.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string_view>

namespace statvane {
namespace {

namespace fs = std::filesystem;

// Where a program keeps its reports, for one setting of the variables and one
// kind of executable folder. Every folder named lies in the case's own
// temporary folder; "-" leaves a variable unset.
struct DirectoryCase {
    const char* name;
    const char* statvaneHome;
    bool buildTree;
    const char* xdgDataHome;
    const char* expected;
};

TEST(ProgramDirectory, FollowsTheVariablesThenTheBuildTreeThenTheUsersDataFolder) {
    const DirectoryCase cases[] = {
        {"the variable wins over a build tree", "own/", true, "xdg", "own"},
        {"a build tree keeps its reports beside the program", "-", true, "xdg", "bin"},
        {"an installed copy in a writable folder never writes there", "-", false, "xdg",
         "xdg/statvane"},
        {"without XDG_DATA_HOME the data folder is under HOME", "-", false, "-",
         "user/.local/share/statvane"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const fs::path bin = dir / "bin";
        fs::create_directories(bin);
        if (c.buildTree)
            test::writeFile(bin / kBuildTreeMarker, "");
        const auto valueIn = [&dir](const char* value) {
            return std::string(value) == "-" ? std::string() : (dir / value).string();
        };
        test::ScopedEnv home("STATVANE_HOME", valueIn(c.statvaneHome));
        test::ScopedEnv xdg("XDG_DATA_HOME", valueIn(c.xdgDataHome));
        test::ScopedEnv user("HOME", (dir / "user").string());

        const fs::path directory = programDirectoryBeside(bin);

        EXPECT_EQ(directory, dir / c.expected);
        if (std::string_view(c.statvaneHome) == "-") {
            EXPECT_TRUE(fs::is_directory(directory)) << "made on first use";
        }
    }
}

} // namespace
} // namespace statvane
