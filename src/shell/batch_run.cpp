#include "shell/batch_run.h"

#include "net/http/http_head_requester.h"
#include "net/tls_trust.h"
#include "output/mail_delivery.h"
#include "output/report_writer.h"
#include "platform/ascii.h"
#include "platform/error.h"
#include "platform/old_reports_notice.h"
#include "platform/program_directory.h"
#include "platform/registry.h"
#include "platform/resolver_library.h"
#include "platform/stream_prompt.h"
#include "run/analysis_run.h"
#include "settings/settings_loading.h"
#include "shell/terminal_progress.h"
#include "shell/untrusted_site_notices.h"

#include <QEventLoop>
#include <QTimer>
#include <cstdio>

namespace statvane {
namespace {

// How often the mail wait looks whether Ctrl+C was pressed.
constexpr int kInterruptPollMs = 100;

// Where a batch run delivers: a report meant for the screen goes to standard
// output as its text report; a mailed report is waited for.
class BatchOutput : public RunOutput {
  public:
    BatchOutput(SettingsStore& store, Prompt& prompt, RunObserver& progress,
                const std::filesystem::path& programDirectory)
        : store_(store), prompt_(prompt), progress_(progress), programDirectory_(programDirectory) {
    }

    void showResults(AnalysisResult result) override {
        produceReport(result, store_, [](std::string_view piece) {
            if (!piece.empty())
                std::fwrite(piece.data(), 1, piece.size(), stdout);
        });
        std::fflush(stdout);
    }

    // The outcome is the server's answer to the message: a message it took
    // counts as delivered even when the wait is cut short afterwards, so that
    // a retry never sends it twice.
    bool mailReport(AnalysisResult&, const Settings& settings, const std::filesystem::path& file,
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
        if (!delivery.mailReport(settings, file, recipients))
            return false;
        const char* cutShort = waitForDelivery(delivery, wait);
        if (delivery.failure())
            prompt_.showMessage(*delivery.failure(), MessageIcon::Warning);
        return reportOutcome(outcome == MailDelivery::Outcome::Accepted, cutShort);
    }

    void tellLayoutNotices(const std::vector<std::string>& notices) override {
        for (const auto& notice : notices)
            prompt_.showMessage(notice, MessageIcon::Warning);
    }

  private:
    // Runs the wait until the delivery ends by itself, by its time limit or
    // by Ctrl+C. Returns why it was cut short, or nothing when it ended by
    // itself.
    const char* waitForDelivery(MailDelivery& delivery, QEventLoop& wait) {
        bool cancelled = false;
        QTimer interruptPoll;
        QObject::connect(&interruptPoll, &QTimer::timeout, [&] {
            if (!progress_.cancelRequested())
                return;
            cancelled = true;
            delivery.abort();
        });
        interruptPoll.start(kInterruptPollMs);
        if (delivery.busy())
            wait.exec();
        if (cancelled)
            return "The mail delivery was cancelled.";
        return delivery.timedOut() ? kMailTimedOutMessage : nullptr;
    }

    bool reportOutcome(bool accepted, const char* cutShort) {
        if (accepted) {
            if (cutShort)
                prompt_.showMessage("The report had already been handed to the mail server.",
                                    MessageIcon::Information);
            return true;
        }
        if (cutShort)
            prompt_.showMessage(cutShort, MessageIcon::Warning);
        prompt_.showMessage("The report could not be handed to the mail server.",
                            MessageIcon::Warning);
        return false;
    }

    SettingsStore& store_;
    Prompt& prompt_;
    RunObserver& progress_;
    std::filesystem::path programDirectory_;
};

std::optional<std::string> findReport(const ProfileStore& profiles, const std::string& wanted) {
    for (const auto& name : profiles.listReportNames()) {
        if (ascii::equalsIgnoringCase(name, wanted))
            return name;
    }
    return std::nullopt;
}

} // namespace

// The report is looked up before the settings are loaded: loading creates
// the settings file and its keys, which a run of an unknown report must not.
int runBatch(const std::string& reportName, const std::optional<ReportPeriod>& period) {
    StreamPrompt prompt(stderr);
    const auto directory = programDirectory();
    tellOldReports(prompt, directory);
    ProfileStore profiles(directory);
    std::optional<std::string> name;
    try {
        name = findReport(profiles, reportName);
    } catch (const Error& error) {
        showError(prompt, error);
        return 1;
    }
    if (!name) {
        prompt.showMessage("There is no report named \"" + reportName + "\".",
                           MessageIcon::Warning);
        return 1;
    }

    Registry registry(Registry::defaultFile());
    SettingsStore settingsStore(registry);
    Settings settings;
    // A settings file that cannot be read at all would fail every step of the
    // run, so the run ends with its one message.
    if (!loadSettingsTellingProblems(settingsStore, settings, prompt))
        return 1;

    TerminalProgress progress;
    BatchOutput output(settingsStore, prompt, progress, directory);
    HttpHeadRequester pageSizes([&progress] { return progress.cancelRequested(); });
    UntrustedSiteNotices untrustedSites(prompt, progress);
    pageSizes.setUntrustedServerHandler(
        [&untrustedSites](const std::string& server, const std::string& reason) {
            untrustedSites.tell(server, reason);
        });
    RunContext context{directory, workingDirectory(), profiles, settingsStore,
                       settings,  progress,           prompt,   output,
                       &pageSizes};
    context.period = period;
    AnalysisRun run(context);
    tellExtraCaFileProblem(prompt);
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
