#pragma once

#include "analysis/analysis_result.h"
#include "analysis/block_tally.h"
#include "analysis/bytes_step.h"
#include "analysis/pass_totals.h"
#include "analysis/robot_matcher.h"
#include "analysis/run_observer.h"
#include "analysis/step_recording_observer.h"
#include "platform/prompt.h"
#include "platform/robot_lists.h"
#include "profiles/profile_store.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace statvane {

// Where a run's result goes when the report does not only save it to a file.
class RunOutput {
  public:
    virtual ~RunOutput() = default;
    // The report shows its result on screen.
    virtual void showResults(AnalysisResult result) = 0;
    // The report's saved file goes by e-mail to the recipients text, with the
    // mail settings of the run. False when the mail could not be handed to
    // the server.
    virtual bool mailReport(AnalysisResult& result, const Settings& settings,
                            const std::filesystem::path& file, const std::string& recipients) = 0;
    // The result of a report that went to a file, once it is written and
    // handed to the mail: kept by an output that holds results, else dropped.
    virtual void keepSavedResult(AnalysisResult) {}
    // Told once the result is delivered: a notice for each log file with
    // lines that are not in the combined log layout, none when all are.
    virtual void tellLayoutNotices(const std::vector<std::string>& notices) = 0;
};

// What a run works with, handed in by the shell.
struct RunContext {
    std::filesystem::path programDirectory;
    // Relative input and output names are resolved against it (or against the
    // folder of the last wildcard entry); empty when the working folder is
    // gone, so that they count as missing.
    std::filesystem::path startDirectory;
    ProfileStore& profiles;
    SettingsStore& settingsStore;
    // The live settings: each run works on a copy taken when it starts, so
    // that edits made while it runs apply from the next one.
    const Settings& settings;
    RunObserver& observer;
    Prompt& prompt;
    RunOutput& output;
    // The bytes step runs only when there is one.
    HeadRequester* headRequester = nullptr;
    // The robot patterns shipped with the program; the user's own are in the
    // program directory.
    std::filesystem::path shippedRobots = shippedRobotList();
    // The period of this run in place of the report's own (the batch run's
    // --period).
    std::optional<ReportPeriod> period = std::nullopt;
};

enum class RunOutcome { Delivered, Cancelled, Failed, Busy };

inline constexpr const char* kSelectReportMessage =
    "You must select a report before running an analysis.";
inline constexpr const char* kMissingFilesMessage =
    "The file(s) listed under this report do not exist.  Please check the filename(s) by "
    "right-clicking on the report and selecting 'Properties.'  Then, click on the 'Inputs' tab.";
inline constexpr const char* kNoLinesMessage =
    "There are no log lines to analyze for this report.  Please check the filename(s) by "
    "right-clicking on the report and selecting 'Properties.'  Then, click on the 'Inputs' tab.";
inline constexpr const char* kOutputIsInputMessage =
    "The output file of this report, %s, is also one of its log files.  Please choose another "
    "output file by right-clicking on the report and selecting 'Properties.'  Then, click on the "
    "'Output' tab.";
inline constexpr const char* kReportBeingAnalyzedMessage =
    "This report is being analyzed.  Please try again when the analysis has finished.";
inline constexpr const char* kNoLineInPeriodMessage =
    "No line of this report's log files falls in its period (%s).";
inline constexpr const char* kUnreadablePeriodMessage =
    "The period of this report, \"%s\", cannot be read: every line is counted.";
// Names the step the run was in.
inline constexpr const char* kOutOfMemoryMessage =
    "There is not enough memory to finish this analysis (%s).";

// Runs reports: reads a report's log files, performs the analyses it selects
// and delivers the result. One run at a time.
class AnalysisRun {
  public:
    explicit AnalysisRun(RunContext context) : context_(context), observer_(context.observer) {}

    bool running() const { return running_; }
    // Whether the named report is the one being run; it must not be deleted
    // or renamed under the run.
    bool runs(const std::string& reportName) const { return running_ && report_ == reportName; }

    // Runs the named report, or shows the selection message without a name.
    // Busy, doing nothing, while another run is under way. Running out of
    // memory ends the run with a message that names the step it was in.
    RunOutcome runAnalysis(const std::optional<std::string>& reportName);

  private:
    RunOutcome run(const std::string& name);
    std::optional<std::string> outputName(const std::string& name) const;
    PassSelection passSelection(const std::string& name, const Settings& settings) const;
    std::vector<std::string> robotPatterns() const;
    std::optional<DayRange> periodDays(const std::string& name, std::int32_t today,
                                       std::string& caption) const;
    std::optional<RunOutcome> readLogFiles(const std::vector<std::filesystem::path>& files,
                                           const PassSelection& selection, PassTotals& totals);
    bool runSteps(const std::string& name, const Settings& settings, PassTotals& totals,
                  AnalysisResult& result, int progressStep);
    RunOutcome deliver(const std::string& name, const Settings& settings, AnalysisResult& result,
                       const std::optional<std::filesystem::path>& outputFile);

    RunContext context_;
    // The run's reports go through it to the context's observer.
    StepRecordingObserver observer_;
    bool running_ = false;
    std::string report_;
};

} // namespace statvane
