#include "run/analysis_run.h"

#include "analysis/dns_cache.h"
#include "analysis/input_files.h"
#include "analysis/log_file_reader.h"
#include "analysis/log_pass.h"
#include "analysis/robot_patterns.h"
#include "analysis/tallies.h"
#include "analysis/visitors.h"
#include "output/report_delivery.h"
#include "platform/error.h"
#include "platform/resolver_library.h"
#include "platform/thread_count.h"

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
std::string layoutNotice(const std::filesystem::path& file, const PassTotals::FileLines& read) {
    return fileDetail(file, std::to_string(read.outsideLayout) + " of " +
                                std::to_string(read.lines) +
                                " lines are not in the combined log layout.");
}

std::vector<std::string> layoutNotices(const std::vector<std::filesystem::path>& files,
                                       const PassTotals& totals) {
    std::vector<std::string> notices;
    for (std::size_t i = 0; i < totals.files.size(); ++i)
        if (totals.files[i].outsideLayout > 0)
            notices.push_back(layoutNotice(files[i], totals.files[i]));
    return notices;
}

RobotLines robotLinesOf(RobotChoice choice) {
    switch (choice) {
    case RobotChoice::Exclude:
        return RobotLines::Exclude;
    case RobotChoice::Only:
        return RobotLines::Only;
    case RobotChoice::Include:
        break;
    }
    return RobotLines::Include;
}

// Time stamps are read up to the year after today's, so that a server whose
// clock runs ahead at the turn of the year is still read.
int latestLogYear(std::int32_t today) {
    return yearOf(today) + 1;
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
    const std::int32_t today = todayOnLocalClock();
    PassSelection selection = passSelection(name, settings);
    selection.latestYear = latestLogYear(today);
    std::string periodCaption;
    selection.period = periodDays(name, today, periodCaption);
    std::optional<RobotMatcher> robots;
    if (selection.robots != RobotLines::Include)
        selection.robotMatcher = &robots.emplace(robotPatterns());
    PassTotals totals;
    if (const auto ended = readLogFiles(inputs.files, selection, totals))
        return *ended;
    if (totals.lines == 0) {
        observer_.closeProgress();
        context_.prompt.showMessage(selection.period
                                        ? formatMessage(kNoLineInPeriodMessage, periodCaption)
                                        : std::string(kNoLinesMessage),
                                    MessageIcon::Warning);
        return RunOutcome::Failed;
    }

    AnalysisResult result;
    result.logFileCount = static_cast<std::int32_t>(inputs.files.size());
    const int progressStep = progressStepFor(context_.profiles.readInteger(name, "Total Options"));
    result.hits = static_cast<std::int32_t>(totals.lines);
    result.hitsAverage = result.hits / result.logFileCount;
    if (!runSteps(name, settings, totals, result, progressStep))
        return RunOutcome::Cancelled;

    if (!result.visitors.empty()) {
        result.uniqueVisitors = static_cast<std::int32_t>(result.visitors.size());
        result.visitorsAverage = *result.uniqueVisitors / result.logFileCount;
    }
    if (!result.referrers.empty()) {
        result.referralSites = static_cast<std::int32_t>(result.referrers.size());
        result.referralSitesAverage = *result.referralSites / result.logFileCount;
    }
    if (robots) {
        result.robots = std::move(totals.robots);
        result.robots->computePercentagesOf(static_cast<std::int64_t>(totals.periodLines));
    }
    result.firstDate = std::move(totals.firstDate);
    result.lastDate = std::move(totals.lastDate);
    const std::vector<std::string> notices = layoutNotices(inputs.files, totals);
    totals = {};
    observer_.closeProgress();
    result.computePercentages();
    const RunOutcome outcome = deliver(name, settings, result, inputs.outputFile);
    context_.output.tellLayoutNotices(notices);
    return outcome;
}

// The "Output" file name of a report that saves to a file, "test.txt" when the
// key is missing; none for a report shown on screen.
std::optional<std::string> AnalysisRun::outputName(const std::string& name) const {
    if (!context_.profiles.readFlag(name, "File"))
        return std::nullopt;
    return context_.profiles.readText(name, "Output").value_or("test.txt");
}

// What the log pass counts for the report.
PassSelection AnalysisRun::passSelection(const std::string& name, const Settings& settings) const {
    const ProfileStore& profile = context_.profiles;
    PassSelection selection;
    selection.visitors = profile.readFlag(name, "Visitors");
    selection.referrers = profile.readFlag(name, "Referrers");
    selection.pages = profile.readFlag(name, "Pages");
    selection.browsers = profile.readFlag(name, "Browser");
    if (selection.referrers)
        selection.referrerFilters = settings.ReferrerFilterList;
    selection.traffic = profile.readFlag(name, "Traffic");
    selection.status = profile.readFlag(name, "Status");
    if (selection.pages || selection.status)
        selection.webSite = context_.settingsStore.readWebSite();
    selection.robots = robotLinesOf(profile.readRobots(name));
    return selection;
}

// The days whose lines count, counted back from today (a day number); none for every line.
// A period the profile names but that cannot be read counts every line, and
// says so.
std::optional<DayRange> AnalysisRun::periodDays(const std::string& name, std::int32_t today,
                                                std::string& caption) const {
    std::optional<ReportPeriod> period = context_.period;
    if (!period) {
        const PeriodReading read = context_.profiles.readPeriod(name);
        if (!read.understood)
            context_.prompt.showMessage(
                formatMessage(kUnreadablePeriodMessage,
                              context_.profiles.readText(name, "Period").value_or("")),
                MessageIcon::Warning);
        period = read.period;
    }
    caption = periodCaption(*period, today);
    return dayRangeOf(*period, today);
}

// The shipped robot patterns and the user's own; a list that cannot be read
// is told, and the run goes on with the other.
std::vector<std::string> AnalysisRun::robotPatterns() const {
    RobotPatterns read =
        readRobotLists(context_.shippedRobots, userRobotList(context_.programDirectory));
    for (const std::string& notice : read.notices)
        context_.prompt.showMessage(notice, MessageIcon::Warning);
    return std::move(read.patterns);
}

// Opens every file, then reads them all in one pass; the outcome that ends
// the run when a file cannot be read or Cancel is pressed, nothing when all
// were read.
std::optional<RunOutcome> AnalysisRun::readLogFiles(const std::vector<std::filesystem::path>& files,
                                                    const PassSelection& selection,
                                                    PassTotals& totals) {
    PassEnd end;
    for (std::size_t i = 0; i < files.size() && end.status == PassEnd::Status::Done; ++i)
        if (auto reason = unreadableReason(files[i]))
            end = {PassEnd::Status::Unreadable, i, std::move(*reason)};
    if (end.status == PassEnd::Status::Done) {
        CheckPoints checks(observer_, 1);
        end = runLogPass(files, selection, totals, checks, {passThreadCount()});
    }
    if (end.status == PassEnd::Status::Cancelled)
        return RunOutcome::Cancelled;
    if (end.status == PassEnd::Status::Unreadable) {
        // The progress display stays until the user closes it with Cancel.
        context_.prompt.showMessageWithDetails(
            kMissingFilesMessage, MessageIcon::Warning,
            unreadableFiles(std::span(files).subspan(end.file), end.reason));
        return RunOutcome::Failed;
    }
    return std::nullopt;
}

bool AnalysisRun::runSteps(const std::string& name, const Settings& settings, PassTotals& totals,
                           AnalysisResult& result, int progressStep) {
    const ProfileStore& profile = context_.profiles;
    CheckPoints checks(observer_, 1);
    std::optional<ResolverLibrary> resolver;
    const auto connected = [&] {
        if (!resolver)
            resolver.emplace(context_.programDirectory);
        return resolver->connection();
    };

    const bool visitors = profile.readFlag(name, "Visitors");
    if (visitors && !compileVisitors(totals.visitors, result, checks, progressStep))
        return false;
    totals.visitors = {};
    if (profile.readFlag(name, "DNS") && connected() &&
        !reverseLookup(result, dnsLogFile(context_.programDirectory), settings.MaxCache, *resolver,
                       checks, progressStep))
        return false;
    if (visitors)
        filterVisitors(result, settings.VisitorFilterList);
    if (profile.readFlag(name, "Referrers") &&
        !presentTally(kReferrersStep, std::move(totals.referrers), result.referrers, checks,
                      progressStep))
        return false;
    if (profile.readFlag(name, "Pages")) {
        if (!presentTally(kPagesStep, std::move(totals.pages), result.topPages, checks,
                          progressStep))
            return false;
        const ProxySettings proxy{settings.ProxyServerAddress, settings.ProxyPort,
                                  settings.ProxyUserName, settings.ProxyPassword};
        if (profile.readFlag(name, "Bytes") && context_.headRequester && connected() &&
            !measureBytes(result, *context_.headRequester, proxy, checks, progressStep))
            return false;
        filterPages(result, settings.TopPagesFilterList);
    }
    if (profile.readFlag(name, "Browser") &&
        !presentTally(kBrowsersStep, std::move(totals.browsers), result.browsers, checks,
                      progressStep))
        return false;
    if (profile.readFlag(name, "Traffic") && !presentTraffic(totals, result, checks, progressStep))
        return false;
    return !profile.readFlag(name, "Status") ||
           presentStatus(totals, settings.TopPagesFilterList, result, checks, progressStep);
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
