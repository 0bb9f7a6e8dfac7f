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
                                     dir.path(), std::nullopt);
    EXPECT_EQ(inputs.files,
              (Paths{logs / "A.log", logs / "b.log", logs / "notes.txt", logs / "A.log",
                     logs / "b.log", logs / "plain.log", dir / "plain.log"}));
    EXPECT_EQ(inputs.currentDirectory, logs / "");
}

TEST_F(InputFilesTest, RelativeNamesFollowTheLastWildcardFolder) {
    const auto inputs =
        expandInputs({"logs\\*.log", "sub\\*.*", "b.log"}, dir.path(), std::nullopt);
    EXPECT_EQ(inputs.files, (Paths{dir / "logs" / "A.log", dir / "logs" / "b.log",
                                   dir / "logs" / "sub" / "b.log"}));
    EXPECT_EQ(inputs.currentDirectory, dir / "logs" / "sub" / "");
}

TEST_F(InputFilesTest, EntriesThatFindNothing) {
    const auto inputs = expandInputs({(dir / "missing").string() + "/*.*",
                                      (dir / "logs" / "access").string() + "*.log", "*.log"},
                                     dir.path(), std::nullopt);
    EXPECT_TRUE(inputs.files.empty());
    EXPECT_EQ(inputs.currentDirectory, dir.path());
}

constexpr const char* kSavedReport = "Statvane\r\nReport Profile - 01/Nov/2026 to 02/Nov/2026\r\n";

// A report never reads its own output: a relative output name follows the
// last wildcard folder, where the next run's wildcard finds the report saved
// before and passes over it (and over a link to it).
TEST_F(InputFilesTest, WildcardEntriesPassOverTheReportsEarlierOutput) {
    const auto logs = dir / "logs";
    test::writeFile(logs / "b.log", kSavedReport);
    std::filesystem::create_symlink(logs / "b.log", logs / "c.log");
    const auto inputs = expandInputs({"logs/*.*", "plain.log"}, dir.path(), "b.log");
    EXPECT_EQ(inputs.files, (Paths{logs / "A.log", logs / "notes.txt", logs / "plain.log"}));
    EXPECT_EQ(inputs.outputFile, logs / "b.log");
    EXPECT_FALSE(inputs.outputListedAsInput);

    const auto unsaved = expandInputs({"logs/*.*"}, dir.path(), std::nullopt);
    EXPECT_EQ(unsaved.files.size(), 4u);
    EXPECT_EQ(unsaved.outputFile, std::nullopt);
}

// Any other file that an entry would read is a log that the report would
// overwrite, however the entry or the output reaches it: a plain entry, a
// wildcard, a symbolic or a hard link. A saved report named by a plain entry
// is read as a log, so it counts too.
TEST_F(InputFilesTest, OutputThatAnEntryWouldReadIsFlagged) {
    const auto log = dir / "logs" / "A.log";
    std::filesystem::create_symlink(log, dir / "link.log");
    std::filesystem::create_hard_link(log, dir / "hard.log");
    test::writeFile(dir / "report.txt", kSavedReport);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"plain.log"}, "plain.log"},
        {{"logs/*.txt", "A.log"}, log.string()},
        {{"logs/*.txt", "../plain.log"}, "../plain.log"},
        {{"logs/*.log"}, "A.log"},
        {{"logs/*.log"}, (dir / "link.log").string()},
        {{"logs/*.log"}, (dir / "hard.log").string()},
        {{"link.log"}, log.string()},
        {{"hard.log"}, log.string()},
        {{"report.txt"}, "report.txt"},
    };
    for (const auto& [entries, output] : cases) {
        SCOPED_TRACE(entries.front() + " -> " + output);
        EXPECT_TRUE(expandInputs(entries, dir.path(), output).outputListedAsInput);
    }
    EXPECT_FALSE(expandInputs({"plain.log"}, dir.path(), "other.log").outputListedAsInput);
    EXPECT_FALSE(expandInputs({"plain.log"}, dir.path(), std::nullopt).outputListedAsInput);
}

} // namespace
} // namespace statvane
