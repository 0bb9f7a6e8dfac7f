#include "run/analysis_run.h"

#include "analysis/dns_cache.h"
#include "analysis/input_files.h"
#include "analysis/log_fields.h"
#include "analysis/log_lines.h"
#include "analysis/tallies.h"
#include "analysis/visitors.h"
#include "platform/resolver_library.h"
#include "output/report_delivery.h"
#include "platform/error.h"

#include <new>
#include <span>

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

// How many unreadable files a failed run names; the rest are counted.
constexpr std::size_t kNamedFilesLimit = 10;

// The lines that name the file that could not be read (the first of files)
// and each later one that cannot be opened either, with the reasons, so that
// all of them are told at once: the first ten, then how many more. The later
// files are only opened, not read.
std::vector<std::string> unreadableFiles(std::span<const std::filesystem::path> files,
                                         const std::string& firstReason) {
    std::vector<std::string> lines{fileDetail(files.front(), firstReason)};
    std::size_t more = 0;
    for (const auto& file : files.subspan(1)) {
        const auto reason = unreadableReason(file);
        if (reason && lines.size() < kNamedFilesLimit)
            lines.push_back(fileDetail(file, *reason));
        else if (reason)
            ++more;
    }
    if (more > 0)
        lines.push_back("and " + std::to_string(more) + " more");
    return lines;
}

// What a file whose lines are not all in the combined layout is told with.
std::string layoutNotice(const std::filesystem::path& file, const LogFileRead& read) {
    return fileDetail(file, std::to_string(read.outsideLayout) + " of " +
                                std::to_string(read.lines) +
                                " lines are not in the combined log layout.");
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
    report_ = *reportName;
    BusyCursor busy(observer_);
    try {
        return run(*reportName);
    } catch (const Error& error) {
        showError(context_.prompt, error);
        return RunOutcome::Failed;
    } catch (const std::bad_alloc&) {
        // What the run held is released by now.
        observer_.closeProgress();
        context_.prompt.showMessage(formatMessage(kOutOfMemoryMessage, observer_.stepText()),
                                    MessageIcon::Error);
        return RunOutcome::Failed;
    }
}

RunOutcome AnalysisRun::run(const std::string& name) {
    observer_.setStepText("Gathering Log Files for Analysis...");
    // Set after the step text, so that running out of memory names a step.
    const Settings settings(context_.settings);
    observer_.showProgress();
    observer_.processEvents();

    const InputFiles inputs =
        expandInputs(context_.profiles.readInputs(name), context_.startDirectory, outputName(name));
    if (inputs.outputListedAsInput) {
        observer_.closeProgress();
        context_.prompt.showMessage(
            formatMessage(kOutputIsInputMessage, inputs.outputFile->string()),
            MessageIcon::Warning);
        return RunOutcome::Failed;
    }
    LogLines lines;
    std::vector<std::string> layoutNotices;
    if (const auto ended = readLogFiles(inputs.files, lines, layoutNotices))
        return *ended;
    if (lines.empty()) {
        observer_.closeProgress();
        context_.prompt.showMessage(kNoLinesMessage, MessageIcon::Warning);
        return RunOutcome::Failed;
    }

    AnalysisResult result;
    result.logFileCount = static_cast<std::int32_t>(inputs.files.size());
    const int progressStep = progressStepFor(context_.profiles.readInteger(name, "Total Options"));
    result.hits = static_cast<std::int32_t>(lines.size());
    result.hitsAverage = result.hits / result.logFileCount;
    if (!runSteps(name, settings, lines, result, progressStep))
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
    observer_.closeProgress();
    result.computePercentages();
    const RunOutcome outcome = deliver(name, settings, result, inputs.outputFile);
    context_.output.tellLayoutNotices(layoutNotices);
    return outcome;
}

// The "Output" file name of a report that saves to a file, "test.txt" when the
// key is missing; none for a report shown on screen.
std::optional<std::string> AnalysisRun::outputName(const std::string& name) const {
    if (!context_.profiles.readFlag(name, "File"))
        return std::nullopt;
    return context_.profiles.readText(name, "Output").value_or("test.txt");
}

// Reads every file into lines, with a notice for each file that has lines
// out of the combined layout; the outcome that ends the run when a file
// cannot be read or Cancel is pressed, nothing when all were read.
std::optional<RunOutcome> AnalysisRun::readLogFiles(const std::vector<std::filesystem::path>& files,
                                                    LogLines& lines,
                                                    std::vector<std::string>& layoutNotices) {
    CheckPoints checks(observer_, 1);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const LogFileRead read = readLogFile(files[i], lines, checks);
        if (read.status == LogFileRead::Status::Cancelled)
            return RunOutcome::Cancelled;
        if (read.status == LogFileRead::Status::Unreadable) {
            // The progress display stays until the user closes it with Cancel.
            context_.prompt.showMessageWithDetails(
                kMissingFilesMessage, MessageIcon::Warning,
                unreadableFiles(std::span(files).subspan(i), read.reason));
            return RunOutcome::Failed;
        }
        if (read.outsideLayout > 0)
            layoutNotices.push_back(layoutNotice(files[i], read));
    }
    return std::nullopt;
}

bool AnalysisRun::runSteps(const std::string& name, const Settings& settings, const LogLines& lines,
                           AnalysisResult& result, int progressStep) {
    const ProfileStore& profile = context_.profiles;
    CheckPoints lineChecks(observer_);
    CheckPoints networkChecks(observer_, 1);
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
        !reverseLookup(result, dnsLogFile(context_.programDirectory), settings.MaxCache, *resolver,
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

RunOutcome AnalysisRun::deliver(const std::string& name, const Settings& settings,
                                AnalysisResult& result,
                                const std::optional<std::filesystem::path>& outputFile) {
    const ProfileStore& profile = context_.profiles;
    if (!outputFile) {
        context_.output.showResults(std::move(result));
        return RunOutcome::Delivered;
    }
    const auto recipients = [&]() -> std::optional<std::string> {
        if (!profile.readFlag(name, "E-Mail"))
            return std::nullopt;
        return profile.readText(name, "E-Mail Address").value_or("");
    };
    const auto start = [&](const std::string& addresses) {
        return context_.output.mailReport(result, settings, *outputFile, addresses);
    };
    const MailStart mailed =
        saveThenMail(result, context_.settingsStore, *outputFile, {recipients, start});
    context_.output.keepSavedResult(std::move(result));
    return mailed == MailStart::NotStarted ? RunOutcome::Failed : RunOutcome::Delivered;
}

} // namespace statvane
