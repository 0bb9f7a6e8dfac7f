#include "output/report_delivery.h"
#include "platform/error.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace statvane {
namespace {

class ReportDeliveryTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    Registry registry{dir / "registry.reg"};
    SettingsStore settings{registry};
    AnalysisResult result;
    std::vector<std::string> steps;

    // Each step notes whether the report file was there when it came.
    ReportMail mail(std::optional<std::string> recipients, bool starts,
                    const std::filesystem::path& file) {
        const auto note = [this, file](const std::string& step) {
            steps.push_back(step + (std::filesystem::exists(file) ? " after the file" : ""));
        };
        return {[=] {
                    note("recipients");
                    return recipients;
                },
                [=](const std::string& to) {
                    note("mail to " + to);
                    return starts;
                }};
    }
};

TEST_F(ReportDeliveryTest, TheMailStartsOnceTheReportIsWritten) {
    struct Case {
        std::optional<std::string> recipients;
        bool starts;
        MailStart outcome;
        std::vector<std::string> steps;
    };
    const Case cases[] = {
        {std::nullopt, true, MailStart::NotAsked, {"recipients after the file"}},
        {"a@example.com",
         true,
         MailStart::Started,
         {"recipients after the file", "mail to a@example.com after the file"}},
        {"",
         false,
         MailStart::NotStarted,
         {"recipients after the file", "mail to  after the file"}},
    };
    for (const auto& [recipients, starts, outcome, expectedSteps] : cases) {
        SCOPED_TRACE(recipients.value_or("(none)"));
        const auto file = dir / "report.txt";
        std::filesystem::remove(file);
        steps.clear();
        EXPECT_EQ(saveThenMail(result, settings, file, mail(recipients, starts, file)), outcome);
        EXPECT_EQ(steps, expectedSteps);
    }
}

TEST_F(ReportDeliveryTest, AReportThatCannotBeWrittenIsNotMailed) {
    const auto file = dir / "missing" / "report.txt";
    EXPECT_THROW(saveThenMail(result, settings, file, mail("a@example.com", true, file)), Error);
    EXPECT_TRUE(steps.empty());
}

} // namespace
} // namespace statvane
