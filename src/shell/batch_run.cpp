#include "shell/batch_run.h"

#include "analysis/analysis_run.h"
#include "net/resolver/resolver_library.h"
#include "output/mail_delivery.h"
#include "output/report_writer.h"
#include "platform/ascii.h"
#include "platform/error.h"
#include "platform/program_directory.h"
#include "platform/registry.h"
#include "shell/http_head_requester.h"
#include "shell/stream_prompt.h"
#include "shell/terminal_progress.h"

#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace statvane {
namespace {

constexpr int kDefaultMailTimeoutSeconds = 180;

// How long a batch run waits for the mail dialogue: $STATVANE_MAIL_TIMEOUT
// seconds, else three minutes.
int mailTimeoutMs() {
    const char* text = std::getenv("STATVANE_MAIL_TIMEOUT");
    const int seconds = text ? std::atoi(text) : 0;
    return (seconds > 0 ? seconds : kDefaultMailTimeoutSeconds) * 1000;
}

// Where a batch run delivers: a report meant for the screen goes to standard
// output as its text report; a mailed report is waited for.
class BatchOutput : public RunOutput {
  public:
    BatchOutput(SettingsStore& store, const Settings& settings, Prompt& prompt,
                const std::filesystem::path& programDirectory)
        : store_(store), settings_(settings), prompt_(prompt), programDirectory_(programDirectory) {
    }

    void showResults(AnalysisResult result) override {
        const std::string report = buildReport(result, store_);
        std::fwrite(report.data(), 1, report.size(), stdout);
        std::fflush(stdout);
    }

    bool mailReport(AnalysisResult&, const std::filesystem::path& file,
                    const std::string& recipients) override {
        TSmtpCli client;
        MailDelivery delivery(client, prompt_,
                              [this] { return ResolverLibrary(programDirectory_).connection(); });
        QEventLoop wait;
        auto outcome = MailDelivery::Outcome::NotStarted;
        delivery.onFinished = [&](MailDelivery::Outcome result) {
            outcome = result;
            wait.quit();
        };
        if (!delivery.mailReport(settings_, file, recipients))
            return false;
        QTimer::singleShot(mailTimeoutMs(), &wait, [&] {
            prompt_.showMessage("The mail server did not finish the delivery in time.",
                                MessageIcon::Warning);
            client.Abort();
            wait.quit();
        });
        if (delivery.busy())
            wait.exec();
        if (outcome == MailDelivery::Outcome::Accepted)
            return true;
        prompt_.showMessage("The report could not be handed to the mail server.",
                            MessageIcon::Warning);
        return false;
    }

  private:
    SettingsStore& store_;
    const Settings& settings_;
    Prompt& prompt_;
    std::filesystem::path programDirectory_;
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
        showError(prompt, error);
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
    BatchOutput output(settingsStore, settings, prompt, directory);
    HttpHeadRequester pageSizes([&progress] { return progress.cancelRequested(); });
    AnalysisRun run(RunContext{directory, std::filesystem::current_path(), profiles, settingsStore,
                               settings, progress, prompt, output, &pageSizes});
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
