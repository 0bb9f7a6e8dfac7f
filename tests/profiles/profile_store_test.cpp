#include "platform/calendar_day.h"
#include "platform/error.h"
#include "profiles/profile_store.h"
#include "support/replacement_log.h"
#include "support/temp_dir.h"

#include <functional>
#include <gtest/gtest.h>

namespace statvane {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

ReportProfile weekly() {
    ReportProfile profile;
    profile.name = "Weekly";
    profile.description = "All of last week";
    profile.visitorsList = true;
    profile.topPagesList = true;
    profile.saveToFile = true;
    profile.outputFile = "/tmp/weekly.txt";
    profile.totalOptions = 3;
    profile.emailAddresses = "a@example.com; b@example.com";
    profile.emailReport = true;
    profile.inputs = {"/var/log/access.log", "/var/log/old/*.*"};
    return profile;
}

class ProfileStoreTest : public ::testing::Test {
  protected:
    TempDir dir;
    ProfileStore store{dir.path()};
    std::string reports() const { return readFile(dir / "reports.dat"); }
    std::string files() const { return readFile(dir / "files.dat"); }
};

TEST_F(ProfileStoreTest, FirstSaveCreatesBothFilesInTheSavingOrder) {
    EXPECT_TRUE(store.listReportNames().empty());
    store.saveProfile(weekly());
    EXPECT_EQ(reports(), "[Weekly]\r\nDescription=All of last week\r\nVisitors=1\r\nReferrers=0\r\n"
                         "DNS=0\r\nPages=1\r\nBytes=0\r\nBrowser=0\r\nFile=1\r\n"
                         "Output=/tmp/weekly.txt\r\nTotal Options=3\r\n"
                         "E-Mail Address=a@example.com; b@example.com\r\nE-Mail=1\r\n");
    EXPECT_EQ(files(), "[Weekly]\r\nFile 0=/var/log/access.log\r\nFile 1=/var/log/old/*.*\r\n");
    EXPECT_EQ(store.loadProfile("weekly").inputs, weekly().inputs);
    auto loaded = store.loadProfile("Weekly");
    EXPECT_EQ(loaded, weekly());
}

TEST_F(ProfileStoreTest, ResavingKeepsKeyOrderAndUnknownKeysAndRebuildsInputs) {
    writeFile(dir / "reports.dat", "[Weekly]\r\nE-Mail=1\r\nCustom=kept\r\nDescription=old\r\n");
    writeFile(dir / "files.dat", "[Weekly]\r\nFile 0=a\r\nFile 1=b\r\nFile 2=c\r\n");
    auto profile = weekly();
    profile.description = "";
    profile.inputs = {"only"};
    store.saveProfile(profile);
    const std::string text = reports();
    EXPECT_EQ(text.rfind("[Weekly]\r\nE-Mail=1\r\nCustom=kept\r\nDescription=\r\nVisitors=1", 0),
              0u);
    EXPECT_EQ(files(), "[Weekly]\r\nFile 0=only\r\n");
    EXPECT_EQ(store.readDescription("Weekly"), "");
}

// Names as the file functions take them: blanks at either end do not count,
// and "]" and the other marks stay part of the name.
// The traffic and status keys follow the others once a report selects them;
// unticked they stay 0 rather than vanish, and a report that never had them
// is saved without them, as above.
TEST_F(ProfileStoreTest, TrafficAndStatusKeysAreWrittenOnceSelected) {
    const std::string before = "File=1\r\nOutput=/tmp/weekly.txt\r\nTotal Options=3\r\n"
                               "E-Mail Address=a@example.com; b@example.com\r\nE-Mail=1\r\n";
    auto profile = weekly();
    profile.trafficOverTime = true;
    store.saveProfile(profile);
    EXPECT_TRUE(reports().ends_with(before + "Traffic=1\r\n"));
    EXPECT_EQ(store.loadProfile("Weekly"), profile);

    profile.trafficOverTime = false;
    profile.statusCodes = true;
    store.saveProfile(profile);
    EXPECT_TRUE(reports().ends_with(before + "Traffic=0\r\nStatus=1\r\n"));
    EXPECT_EQ(store.loadProfile("Weekly"), profile);
}

// The period keys follow the others once a report sets a period; set back to
// All the key stays, and the dates are written with Between only, so that
// other choices keep the last ones chosen. A report that never had a period is
// saved without the keys, as above.
TEST_F(ProfileStoreTest, PeriodKeysAreWrittenOnceAPeriodIsSet) {
    const std::string before = "E-Mail Address=a@example.com; b@example.com\r\nE-Mail=1\r\n";
    const std::int32_t first = *isoDayOf("2026-02-01");
    const std::int32_t last = *isoDayOf("2026-02-28");
    const std::pair<ReportPeriod, std::string> cases[] = {
        {ReportPeriod{PeriodChoice::LastWeek}, "Period=Last Week\r\n"},
        {ReportPeriod{PeriodChoice::Between, first, last},
         "Period=Between\r\nPeriod From=2026-02-01\r\nPeriod To=2026-02-28\r\n"},
        {ReportPeriod{PeriodChoice::All, first, last},
         "Period=All\r\nPeriod From=2026-02-01\r\nPeriod To=2026-02-28\r\n"},
        {ReportPeriod{PeriodChoice::Last30Days, first, last},
         "Period=Last 30 Days\r\nPeriod From=2026-02-01\r\nPeriod To=2026-02-28\r\n"},
    };
    auto profile = weekly();
    for (const auto& [period, keys] : cases) {
        SCOPED_TRACE(keys);
        profile.period = period;
        store.saveProfile(profile);
        EXPECT_TRUE(reports().ends_with(before + keys));
        EXPECT_EQ(store.loadProfile("Weekly"), profile);
        EXPECT_TRUE(store.readPeriod("Weekly").understood);
    }
}

// A period the program cannot read counts every line, and the caller learns
// so; the report is then saved with its period as read.
TEST_F(ProfileStoreTest, UnreadablePeriodReadsAsAllAndIsTold) {
    const std::pair<std::string, PeriodReading> cases[] = {
        {"", {{}, true}},
        {"Period=Last Month\r\n", {{PeriodChoice::LastMonth}, true}},
        {"Period=Fortnight\r\n", {{}, false}},
        {"Period=Between\r\nPeriod From=2026-02-30\r\nPeriod To=2026-03-01\r\n",
         {{PeriodChoice::All, 0, *isoDayOf("2026-03-01")}, false}},
    };
    for (const auto& [keys, reading] : cases) {
        SCOPED_TRACE(keys);
        writeFile(dir / "reports.dat", "[Weekly]\r\nDescription=d\r\n" + keys);
        const PeriodReading read = store.readPeriod("weekly");
        EXPECT_EQ(read.period, reading.period);
        EXPECT_EQ(read.understood, reading.understood);
        EXPECT_EQ(store.loadProfile("Weekly").period, reading.period);
    }
}

// "Robots" is written once a report keeps robots apart, read in any letter
// case, and an unknown value reads as Include.
TEST_F(ProfileStoreTest, RobotsKeyIsWrittenOnceRobotsAreKeptApart) {
    auto profile = weekly();
    store.saveProfile(profile);
    EXPECT_EQ(reports().find("Robots"), std::string::npos);
    profile.robots = RobotChoice::Exclude;
    store.saveProfile(profile);
    EXPECT_TRUE(reports().ends_with("E-Mail=1\r\nRobots=Exclude\r\n"));
    EXPECT_EQ(store.loadProfile("Weekly"), profile);
    profile.robots = RobotChoice::Include;
    store.saveProfile(profile);
    EXPECT_TRUE(reports().ends_with("E-Mail=1\r\nRobots=Include\r\n"));
    for (const auto& [text, choice] : {std::pair("only", RobotChoice::Only),
                                       {"EXCLUDE", RobotChoice::Exclude},
                                       {"robots", RobotChoice::Include},
                                       {"", RobotChoice::Include}}) {
        writeFile(dir / "reports.dat", "[Weekly]\r\nRobots=" + std::string(text) + "\r\n");
        EXPECT_EQ(store.loadProfile("Weekly").robots, choice) << text;
    }
}

TEST_F(ProfileStoreTest, AwkwardNamesMakeOneSectionFoundByEveryCall) {
    const std::pair<const char*, const char*> cases[] = {
        {"Blank ", "Blank"},
        {" Lead", "Lead"},
        {"\tBoth  ", "Both"},
        {"a]b", "a]b"},
        {"[x", "[x"},
        {"x=y", "x=y"},
        {";x", ";x"},
        {"]", "]"},
        {"Gr\xc3\xb6\xc3\x9f"
         "e",
         "Gr\xc3\xb6\xc3\x9f"
         "e"},
        {"caf\xe9 ", "caf\xe9"},
    };
    for (const auto& [name, listed] : cases) {
        SCOPED_TRACE(name);
        auto profile = weekly();
        profile.name = name;
        store.saveProfile(profile);
        store.saveProfile(profile);
        EXPECT_EQ(store.listReportNames(), std::vector<std::string>{listed});
        EXPECT_EQ(store.loadProfile(name), profile);
        EXPECT_EQ(store.loadProfile(listed).inputs, profile.inputs);
        EXPECT_EQ(reports().find(std::string("[") + listed + "]\r\n", 1), std::string::npos);

        auto renamed = profile;
        renamed.name = std::string(name) + "2 ";
        store.renameProfile(name, renamed);
        EXPECT_EQ(store.loadProfile(renamed.name), renamed);
        EXPECT_EQ(store.loadProfile(name).inputs, std::vector<std::string>{});
        store.eraseProfile(renamed.name);
        EXPECT_TRUE(store.listReportNames().empty());
        EXPECT_EQ(files(), "");
    }
}

TEST(SameReportName, MatchesAsTheFilesMatchSectionNames) {
    EXPECT_TRUE(sameReportName("Weekly", "wEEKLY"));
    EXPECT_TRUE(sameReportName(" Weekly\t", "Weekly"));
    EXPECT_FALSE(sameReportName("Weekly", "Weekly 2"));
    EXPECT_FALSE(sameReportName("caf\xe9", "CAF\xc9")); // only ASCII letters fold
    EXPECT_TRUE(sameReportName("", "  "));
}

TEST_F(ProfileStoreTest, ReadingRules) {
    writeFile(dir / "reports.dat", "[R]\r\nVisitors=yes\r\nReferrers=2\r\nDNS=0x1\r\nPages=0\r\n"
                                   "Total Options=0x10\r\n");
    writeFile(dir / "files.dat", "[R]\r\nFile 0=first\r\nFile 2=after a gap\r\n");
    const auto profile = store.loadProfile("R");
    EXPECT_FALSE(profile.visitorsList);
    EXPECT_TRUE(profile.referrerList);
    EXPECT_TRUE(profile.dnsLookup);
    EXPECT_FALSE(profile.topPagesList);
    EXPECT_FALSE(profile.saveToFile);
    EXPECT_EQ(profile.totalOptions, 16);
    EXPECT_EQ(profile.outputFile, "");
    EXPECT_EQ(store.readText("R", "Output"), std::nullopt);
    EXPECT_EQ(profile.inputs, std::vector<std::string>{"first"});
    EXPECT_TRUE(store.readInputs("Missing").empty());
}

TEST_F(ProfileStoreTest, RenameMovesTheReportToTheEnd) {
    auto first = weekly();
    store.saveProfile(first);
    auto second = weekly();
    second.name = "Daily";
    store.saveProfile(second);
    auto renamed = first;
    renamed.name = "Renamed";
    store.renameProfile("Weekly", renamed);
    EXPECT_EQ(store.listReportNames(), (std::vector<std::string>{"Daily", "Renamed"}));
    EXPECT_EQ(files().find("[Weekly]"), std::string::npos);
    EXPECT_EQ(store.loadProfile("Renamed").inputs, first.inputs);
}

TEST_F(ProfileStoreTest, RenameInOnlyLetterCaseKeepsTheReport) {
    store.saveProfile(weekly());
    auto renamed = weekly();
    renamed.name = "WEEKLY";
    store.renameProfile("Weekly", renamed);
    EXPECT_EQ(store.loadProfile("Weekly").inputs, weekly().inputs);
}

TEST_F(ProfileStoreTest, EraseRemovesBothSectionsAndLeavesFilesDatAloneWithoutOne) {
    store.saveProfile(weekly());
    writeFile(dir / "reports.dat", reports() + "\r\n[NoInputs]\r\nVisitors=1\r\n");
    const std::string before = files();
    store.eraseProfile("NoInputs");
    EXPECT_EQ(files(), before);
    store.eraseProfile("WEEKLY");
    EXPECT_TRUE(store.listReportNames().empty());
    EXPECT_EQ(files(), "");
}

// Each call replaces each file it changes once: files.dat first when a report
// is written, reports.dat first when one goes, so that a report listed in
// reports.dat always has its inputs.
// A rename takes the old inputs away last, in a second replacement of
// files.dat, so that no kill leaves a report without its inputs.
TEST_F(ProfileStoreTest, EachCallReplacesEachFileOnceInOrder) {
    auto renamed = weekly();
    renamed.name = "Renamed";
    const std::vector<std::string> writing = {"files.dat", "reports.dat"};
    const std::vector<std::string> erasing = {"reports.dat", "files.dat"};
    const std::pair<std::function<void()>, std::vector<std::string>> cases[] = {
        {[&] { store.saveProfile(weekly()); }, writing},
        {[&] { store.saveProfile(weekly()); }, writing},
        {[&] { store.renameProfile("Weekly", renamed); },
         {"files.dat", "reports.dat", "files.dat"}},
        {[&] { store.eraseProfile("Renamed"); }, erasing},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        test::ReplacementLog log;
        cases[i].first();
        EXPECT_EQ(log.files(), cases[i].second) << "call " << i;
    }
}

// Killed after its first replacement, a save has written only the inputs: the
// report stays as it was.
TEST_F(ProfileStoreTest, SaveKilledMidwayLeavesTheReportAsItWas) {
    store.saveProfile(weekly());
    const std::string before = reports();
    auto changed = weekly();
    changed.description = "changed";
    changed.totalOptions = 5;
    EXPECT_TRUE(test::runKilledAfterRenames(1, [&] { store.saveProfile(changed); }));
    EXPECT_EQ(reports(), before);
}

// Killed after any of its replacements, a rename leaves the report whole,
// inputs and all, under its old name or its new one.
TEST_F(ProfileStoreTest, RenameKilledMidwayLeavesTheReportWholeUnderOneName) {
    auto renamed = weekly();
    renamed.name = "Renamed";
    const std::pair<int, const char*> cases[] = {{1, "Weekly"}, {2, "Renamed"}};
    for (const auto& [replacements, listed] : cases) {
        SCOPED_TRACE(replacements);
        std::filesystem::remove(dir / "reports.dat");
        std::filesystem::remove(dir / "files.dat");
        store.saveProfile(weekly());
        EXPECT_TRUE(test::runKilledAfterRenames(replacements,
                                                [&] { store.renameProfile("Weekly", renamed); }));
        EXPECT_EQ(store.listReportNames(), std::vector<std::string>{listed});
        EXPECT_EQ(store.readInputs(listed), weekly().inputs);
    }
}

// A refused file raises and keeps what it held; files.dat, stored first, keeps
// its changes when reports.dat is refused.
TEST_F(ProfileStoreTest, RefusedWriteStopsAtThatFile) {
    auto changed = weekly();
    changed.description = "new";
    changed.outputFile = "new.txt";
    changed.inputs = {"new.log"};
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"files.dat", weekly().inputs},
        {"reports.dat", changed.inputs},
    };
    for (const auto& [refused, inputs] : cases) {
        SCOPED_TRACE(refused);
        store.saveProfile(weekly());
        std::filesystem::permissions(dir / refused, std::filesystem::perms::owner_read);
        try {
            store.saveProfile(changed);
            FAIL() << "expected an error";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + (dir / refused).string());
        }
        EXPECT_EQ(store.readDescription("Weekly"), weekly().description);
        EXPECT_EQ(store.loadProfile("Weekly").outputFile, "/tmp/weekly.txt");
        EXPECT_EQ(store.readInputs("Weekly"), inputs);
        std::filesystem::permissions(dir / refused, std::filesystem::perms::owner_all);
    }
}

} // namespace
} // namespace statvane
