#include "analysis/input_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using Paths = std::vector<std::filesystem::path>;

class InputFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir / "logs" / "sub");
        for (const char* name :
             {"logs/b.log", "logs/A.log", "logs/notes.txt", "logs/.hidden", "plain.log"})
            test::writeFile(dir / name, "x\n");
    }
    test::TempDir dir;
};

TEST_F(InputFilesTest, WildcardEntriesAddMatchingOrdinaryFilesInNameOrder) {
    const auto logs = dir / "logs";
    const auto inputs = expandInputs({logs.string() + "\\*.*", logs.string() + "/*.log",
                                      "plain.log", dir.path().string() + "\\plain.log"},
                                     dir.path());
    EXPECT_EQ(inputs.files,
              (Paths{logs / "A.log", logs / "b.log", logs / "notes.txt", logs / "A.log",
                     logs / "b.log", logs / "plain.log", dir / "plain.log"}));
    EXPECT_EQ(inputs.currentDirectory, logs / "");
}

TEST_F(InputFilesTest, RelativeNamesFollowTheLastWildcardFolder) {
    const auto inputs = expandInputs({"logs\\*.log", "sub\\*.*", "b.log"}, dir.path());
    EXPECT_EQ(inputs.files, (Paths{dir / "logs" / "A.log", dir / "logs" / "b.log",
                                   dir / "logs" / "sub" / "b.log"}));
    EXPECT_EQ(inputs.currentDirectory, dir / "logs" / "sub" / "");
}

TEST_F(InputFilesTest, EntriesThatFindNothing) {
    const auto inputs = expandInputs({(dir / "missing").string() + "/*.*",
                                      (dir / "logs" / "access").string() + "*.log", "*.log"},
                                     dir.path());
    EXPECT_TRUE(inputs.files.empty());
    EXPECT_EQ(inputs.currentDirectory, dir.path());
}

} // namespace
} // namespace statvane
