#include "platform/old_reports_notice.h"
#include "platform/program_directory.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

namespace fs = std::filesystem;

// Reports beside an installed program are pointed out, with the command that
// moves them, while the program directory has none of its own; they stay
// where they are.
TEST(OldReportsNotice, NamesTheFilesLeftBesideAnInstalledProgramAndHowToMoveThem) {
    struct Case {
        const char* name;
        std::vector<const char*> besideProgram;
        std::vector<const char*> inProgramDirectory;
        bool buildTree;
        std::optional<std::string> expected; // {bin} and {data} stand for the folders
    };
    const Case cases[] = {
        {"reports and the DNS cache beside the program",
         {"reports.dat", "files.dat", "dns.log"},
         {},
         false,
         "The reports kept beside the program in {bin} (reports.dat, files.dat, dns.log) are no "
         "longer read: reports are now kept in {data}. To use them, move them there (mv "
         "{bin}/reports.dat {bin}/files.dat {bin}/dns.log {data}/) and start Statvane again."},
        {"only the files that are there are named",
         {"reports.dat"},
         {"dns.log"},
         false,
         "The reports kept beside the program in {bin} (reports.dat) are no longer read: reports "
         "are now kept in {data}. To use them, move them there (mv {bin}/reports.dat {data}/) and "
         "start Statvane again."},
        {"the program directory has reports of its own",
         {"reports.dat"},
         {"reports.dat"},
         false,
         std::nullopt},
        {"nothing beside the program", {"files.dat"}, {}, false, std::nullopt},
        {"a build tree reads its reports where they are", {"reports.dat"}, {}, true, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const fs::path bin = dir / "bin";
        const fs::path data = dir / "data";
        fs::create_directories(bin);
        fs::create_directories(data);
        for (const char* name : c.besideProgram)
            test::writeFile(bin / name, "[Nightly]\r\n");
        for (const char* name : c.inProgramDirectory)
            test::writeFile(data / name, "[Nightly]\r\n");
        if (c.buildTree)
            test::writeFile(bin / kBuildTreeMarker, "");

        auto expected = c.expected;
        for (auto [word, folder] : {std::pair{"{bin}", bin}, std::pair{"{data}", data}}) {
            for (std::size_t at; expected && (at = expected->find(word)) != std::string::npos;)
                expected->replace(at, std::string_view(word).size(), folder.string());
        }
        EXPECT_EQ(oldReportsNotice(data, bin), expected);
        for (const char* name : c.besideProgram)
            EXPECT_TRUE(fs::exists(bin / name)) << name;
    }
}

TEST(OldReportsNotice, QuotesFolderNamesThatTheShellWouldSplit) {
    test::TempDir dir;
    const fs::path bin = dir / "my programs";
    fs::create_directories(bin);
    test::writeFile(bin / "reports.dat", "");
    const auto notice = oldReportsNotice(dir / "it's data", bin);
    ASSERT_TRUE(notice);
    EXPECT_NE(notice->find("(mv '" + bin.string() + "/reports.dat' '" + dir.path().string() +
                           "/it'\\''s data/')"),
              std::string::npos)
        << *notice;
}

} // namespace
} // namespace statvane
