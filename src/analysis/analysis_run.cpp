#include "analysis/analysis_run.h"

#include "analysis/input_files.h"
#include "analysis/log_fields.h"
#include "analysis/log_lines.h"
#include "analysis/tallies.h"
#include "analysis/visitors.h"
#include "net/resolver/resolver_library.h"
#include "output/report_writer.h"
#include "platform/error.h"

namespace statvane {
namespace {

constexpr int kProgressRange = 100 - 10;

// Restores the normal cursor however the run ends.
class BusyCursor {
  public:
    explicit BusyCursor(RunObserver& observer) : observer_(observer) { observer_.setBusy(true); }
    ~BusyCursor() { observer_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    RunObserver& observer_;
};

class RunGuard {
  public:
    explicit RunGuard(bool& running) : running_(running) { running_ = true; }
    ~RunGuard() { running_ = false; }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

  private:
    bool& running_;
};

int progressStepFor(std::int32_t totalOptions) {
    return totalOptions > 0 ? kProgressRange / totalOptions : 0;
}

std::string dateText(std::string_view line) {
    return std::string(dateOf(line).value_or(""));
}

} // namespace

RunOutcome AnalysisRun::runAnalysis(const std::optional<std::string>& reportName) {
    if (running_)
        return RunOutcome::Busy;
    if (!reportName) {
        context_.prompt.showMessage(kSelectReportMessage, MessageIcon::Information);
        return RunOutcome::Failed;
    }
    RunGuard guard(running_);
    BusyCursor busy(context_.observer);
    try {
        return run(*reportName);
    } catch (const Error& error) {
        showError(context_.prompt, error);
        return RunOutcome::Failed;
    }
}

RunOutcome AnalysisRun::run(const std::string& name) {
    auto& observer = context_.observer;
    observer.setStepText("Gathering Log Files for Analysis...");
    observer.showProgress();
    observer.processEvents();

    const InputFiles inputs =
        expandInputs(context_.profiles.readInputs(name), context_.startDirectory);
    LogLines lines;
    for (const auto& file : inputs.files) {
        if (!readLogFile(file, lines)) {
            // The progress display stays until the user closes it with Cancel.
            context_.prompt.showMessage(kMissingFilesMessage, MessageIcon::Warning);
            return RunOutcome::Failed;
        }
    }
    if (lines.empty()) {
        observer.closeProgress();
        context_.prompt.showMessage(kNoLinesMessage, MessageIcon::Warning);
        return RunOutcome::Failed;
    }

    AnalysisResult result;
    result.logFileCount = static_cast<std::int32_t>(inputs.files.size());
    const int progressStep = progressStepFor(context_.profiles.readInteger(name, "Total Options"));
    result.hits = static_cast<std::int32_t>(lines.size());
    result.hitsAverage = result.hits / result.logFileCount;
    if (!runSteps(name, lines, result, progressStep))
        return RunOutcome::Cancelled;

    if (!result.visitors.empty()) {
        result.uniqueVisitors = static_cast<std::int32_t>(result.visitors.size());
        result.visitorsAverage = *result.uniqueVisitors / result.logFileCount;
    }
    if (!result.referrers.empty()) {
        result.referralSites = static_cast<std::int32_t>(result.referrers.size());
        result.referralSitesAverage = *result.referralSites / result.logFileCount;
    }
    result.firstDate = dateText(lines.front());
    result.lastDate = dateText(lines.back());
    lines.clear();
    observer.closeProgress();
    result.computePercentages();
    return deliver(name, result, inputs.currentDirectory);
}

bool AnalysisRun::runSteps(const std::string& name, const LogLines& lines, AnalysisResult& result,
                           int progressStep) {
    const ProfileStore& profile = context_.profiles;
    const Settings& settings = context_.settings;
    CheckPoints lineChecks(context_.observer);
    CheckPoints networkChecks(context_.observer, 1);
    std::optional<ResolverLibrary> resolver;
    const auto connected = [&] {
        if (!resolver)
            resolver.emplace(context_.programDirectory);
        return resolver->connection();
    };

    const bool visitors = profile.readFlag(name, "Visitors");
    if (visitors && !compileVisitors(lines, result, lineChecks, progressStep))
        return false;
    if (profile.readFlag(name, "DNS") && connected() &&
        !reverseLookup(result, context_.programDirectory / "dns.log", settings.MaxCache, *resolver,
                       networkChecks, progressStep))
        return false;
    if (visitors)
        filterVisitors(result, settings.VisitorFilterList);
    if (profile.readFlag(name, "Referrers") &&
        !tallyReferrers(lines, result, settings.ReferrerFilterList, lineChecks, progressStep))
        return false;
    if (profile.readFlag(name, "Pages")) {
        if (!tallyPages(lines, result, context_.settingsStore.readWebSite(), lineChecks,
                        progressStep))
            return false;
        const ProxySettings proxy{settings.ProxyServerAddress, settings.ProxyPort,
                                  settings.ProxyUserName, settings.ProxyPassword};
        if (profile.readFlag(name, "Bytes") && context_.headRequester && connected() &&
            !measureBytes(result, *context_.headRequester, proxy, networkChecks, progressStep))
            return false;
        filterPages(result, settings.TopPagesFilterList);
    }
    return !profile.readFlag(name, "Browser") ||
           tallyBrowsers(lines, result, lineChecks, progressStep);
}

RunOutcome AnalysisRun::deliver(const std::string& name, AnalysisResult& result,
                                const std::filesystem::path& currentDirectory) {
    const ProfileStore& profile = context_.profiles;
    if (!profile.readFlag(name, "File")) {
        context_.output.showResults(std::move(result));
        return RunOutcome::Delivered;
    }
    const auto file = currentDirectory / profile.readText(name, "Output").value_or("test.txt");
    writeReport(result, context_.settingsStore, file);
    if (profile.readFlag(name, "E-Mail") &&
        !context_.output.mailReport(result, file,
                                    profile.readText(name, "E-Mail Address").value_or("")))
        return RunOutcome::Failed;
    return RunOutcome::Delivered;
}

} // namespace statvane
