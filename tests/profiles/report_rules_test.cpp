#include "platform/error.h"
#include "profiles/listed_reports.h"
#include "profiles/profile_store.h"
#include "profiles/report_rules.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace statvane {
namespace {

ListedReports listing(const std::vector<std::string>& names) {
    ListedReports reports;
    for (const auto& name : names)
        reports.add(name);
    return reports;
}

TEST(ReportRulesTest, NameCheck) {
    struct Case {
        const char* name;
        std::vector<std::string> listed;
        std::optional<std::string> renamed;
        bool acceptable;
    };
    const Case cases[] = {
        {"Monthly", {"Weekly"}, std::nullopt, true},
        {"", {}, std::nullopt, false},
        {" \t ", {"Weekly"}, std::nullopt, false},
        {"weekly", {"Daily", "Weekly"}, std::nullopt, false},
        {" WEEKLY\t", {"Weekly"}, std::nullopt, false},
        {"Weekly 2", {"Weekly"}, std::nullopt, true},
        // The renamed report's own name, listed or gone from the list after
        // a rename whose write failed.
        {"Weekly", {"Weekly"}, "Weekly", false},
        {"wEEKLY", {}, "Weekly", false},
        {"Monthly", {"Weekly"}, "Weekly", true},
        // Names the profile files cannot carry are taken as typed.
        {"Week]ly", {"Weekly"}, std::nullopt, true},
        {"[Weekly", {}, std::nullopt, true},
    };
    for (const auto& [name, listed, renamed, acceptable] : cases) {
        SCOPED_TRACE(std::string("name \"") + name + "\"");
        EXPECT_EQ(reportNameAcceptable(name, listing(listed), renamed), acceptable);
    }
}

// Each of the seven boxes counts once; the output choice is no option.
TEST(ReportRulesTest, OptionCountTakesTheSixAnalysesAndTheEmailBox) {
    constexpr bool ReportProfile::*boxes[] = {
        &ReportProfile::visitorsList, &ReportProfile::dnsLookup,  &ReportProfile::referrerList,
        &ReportProfile::topPagesList, &ReportProfile::totalBytes, &ReportProfile::popularBrowser,
        &ReportProfile::emailReport,
    };
    ReportProfile all;
    all.saveToFile = true;
    EXPECT_EQ(countOptions(all), 0);
    for (std::size_t i = 0; i < std::size(boxes); ++i) {
        SCOPED_TRACE(i);
        ReportProfile one;
        one.*boxes[i] = true;
        EXPECT_EQ(countOptions(one), 1);
        all.*boxes[i] = true;
    }
    EXPECT_EQ(countOptions(all), 7);
}

TEST(ListedReportsTest, AddsAtTheEndAndRemovesExactlyTheNamedEntry) {
    ListedReports reports = listing({"First", "Second"});
    std::vector<std::string> changes;
    reports.onAdded = [&](const std::string& name) {
        changes.push_back(std::string(1, '+') + name);
    };
    reports.onRemoved = [&](std::size_t row) {
        changes.push_back(std::to_string(row).insert(0, 1, '-'));
    };
    reports.add("Third");
    reports.remove("second");
    reports.remove("Not listed");
    reports.remove("Second");
    EXPECT_EQ(reports.names(), (std::vector<std::string>{"First", "Third"}));
    EXPECT_EQ(changes, (std::vector<std::string>{"+Third", "-1"}));
    EXPECT_TRUE(reports.contains(" THIRD"));
    EXPECT_FALSE(reports.contains("Second"));
}

class ReportSavingTest : public ::testing::Test {
  protected:
    static ReportProfile named(const char* name) {
        ReportProfile profile;
        profile.name = name;
        profile.visitorsList = true;
        profile.totalOptions = 1;
        profile.inputs = {"/logs/access.log"};
        return profile;
    }

    test::TempDir dir;
    ProfileStore profiles{dir.path()};
    ListedReports reports;
};

TEST_F(ReportSavingTest, NewAndRenamedReportsStandLast) {
    saveNewReport(profiles, reports, named("One"));
    saveNewReport(profiles, reports, named("Two"));
    renameReport(profiles, reports, "One", named("Uno"));
    EXPECT_EQ(reports.names(), (std::vector<std::string>{"Two", "Uno"}));
    EXPECT_EQ(profiles.listReportNames(), reports.names());
    EXPECT_EQ(profiles.loadProfile("Uno"), named("Uno"));
}

// The list changes only once every write has succeeded.
TEST_F(ReportSavingTest, RefusedWriteLeavesTheListAsItWas) {
    saveNewReport(profiles, reports, named("One"));
    std::filesystem::permissions(dir / "reports.dat", std::filesystem::perms::owner_read);
    EXPECT_THROW(saveNewReport(profiles, reports, named("Two")), Error);
    EXPECT_THROW(renameReport(profiles, reports, "One", named("Uno")), Error);
    EXPECT_EQ(reports.names(), std::vector<std::string>{"One"});
    std::filesystem::permissions(dir / "reports.dat", std::filesystem::perms::owner_all);
}

} // namespace
} // namespace statvane
