#include "shell/batch_run.h"

#include "analysis/analysis_run.h"
#include "output/report_writer.h"
#include "platform/ascii.h"
#include "platform/error.h"
#include "platform/program_directory.h"
#include "platform/registry.h"
#include "shell/stream_prompt.h"
#include "shell/terminal_progress.h"

#include <cstdio>

namespace statvane {
namespace {

// Where a batch run delivers: a report meant for the screen goes to standard
// output as its text report.
class BatchOutput : public RunOutput {
  public:
    BatchOutput(SettingsStore& settings, Prompt& prompt) : settings_(settings), prompt_(prompt) {}

    void showResults(AnalysisResult result) override {
        const std::string report = buildReport(result, settings_);
        std::fwrite(report.data(), 1, report.size(), stdout);
        std::fflush(stdout);
    }

    bool mailReport(AnalysisResult&, const std::filesystem::path&, const std::string&) override {
        prompt_.showMessage("E-mail delivery is not available in this build.",
                            MessageIcon::Warning);
        return false;
    }

  private:
    SettingsStore& settings_;
    Prompt& prompt_;
};

std::optional<std::string> findReport(const ProfileStore& profiles, const std::string& wanted) {
    for (const auto& name : profiles.listReportNames()) {
        if (ascii::equalsIgnoringCase(name, wanted))
            return name;
    }
    return std::nullopt;
}

void loadSettings(SettingsStore& store, Settings& settings, Prompt& prompt) {
    try {
        store.loadSettings(settings);
    } catch (const Error& error) {
        prompt.showMessage(errorMessageText(error.what()), MessageIcon::Error);
    }
}

} // namespace

int runBatch(const std::string& reportName) {
    StreamPrompt prompt(stderr);
    Registry registry(Registry::defaultFile());
    SettingsStore settingsStore(registry);
    Settings settings;
    loadSettings(settingsStore, settings, prompt);

    const auto directory = programDirectory();
    ProfileStore profiles(directory);
    const auto name = findReport(profiles, reportName);
    if (!name) {
        prompt.showMessage("There is no report named \"" + reportName + "\".",
                           MessageIcon::Warning);
        return 1;
    }

    TerminalProgress progress;
    BatchOutput output(settingsStore, prompt);
    AnalysisRun run(RunContext{directory, std::filesystem::current_path(), profiles, settingsStore,
                               settings, progress, prompt, output});
    switch (run.runAnalysis(name)) {
    case RunOutcome::Delivered:
        return 0;
    case RunOutcome::Cancelled:
        prompt.showMessage("The analysis was cancelled.", MessageIcon::Information);
        return 1;
    case RunOutcome::Failed:
    case RunOutcome::Busy:
        break;
    }
    return 1;
}

} // namespace statvane
