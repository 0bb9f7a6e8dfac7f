#include "run/analysis_run.h"
#include "support/recording_run.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace statvane {
namespace {

using Strings = std::vector<std::string>;

std::string logLine(const std::string& host, const std::string& day, const std::string& page,
                    const std::string& referrer, const std::string& agent) {
    return host + " - - [" + day + "/Dec/1999:10:15:32 -0500] \"GET " + page +
           " HTTP/1.0\" 200 5120 \"" + referrer + "\" \"" + agent + "\"\r\n";
}

class AnalysisRunTest : public ::testing::Test {
  protected:
    AnalysisRunTest() {
        std::filesystem::create_directories(dir / "home");
        std::filesystem::create_directories(dir / "logs");
        test::writeFile(dir / "logs" / "a.log",
                        logLine("10.0.0.2", "06", "/", "http://ref.example/", "Mozilla/4.0") +
                            logLine("10.0.0.1", "06", "/docs/", "-", "Mozilla/4.0"));
        test::writeFile(dir / "logs" / "b.log",
                        logLine("10.0.0.2", "07", "/docs/", "http://ref.example/", "Lynx/2.8"));
        test::writeFile(dir / "logs" / "c.log", "\r\n" + logLine("10.0.0.3", "08", "/x", "-", "-"));
    }

    ReportProfile profile() const {
        ReportProfile report;
        report.name = "Weekly";
        report.inputs = {(dir / "logs").string() + "\\*.log"};
        report.totalOptions = 1;
        return report;
    }

    RunOutcome run(const ReportProfile& report, std::optional<std::string> name = "Weekly") {
        profiles.saveProfile(report);
        return engine.runAnalysis(name);
    }

    AnalysisResult& shown() {
        EXPECT_EQ(output.shown.size(), 1u);
        return output.shown.back();
    }

    test::TempDir dir;
    ProfileStore profiles{dir / "home"};
    Registry registry{dir / "registry.reg"};
    SettingsStore settingsStore{registry};
    Settings settings;
    test::RecordingObserver observer;
    test::RecordingPrompt prompt;
    test::RecordingOutput output;
    AnalysisRun engine{RunContext{dir / "home", dir.path(), profiles, settingsStore, settings,
                                  observer, prompt, output}};
};

TEST_F(AnalysisRunTest, NoReportSelectedOnlyShowsTheMessage) {
    EXPECT_EQ(engine.runAnalysis(std::nullopt), RunOutcome::Failed);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first, "You must select a report before running an analysis.");
    EXPECT_EQ(prompt.messages[0].second, MessageIcon::Information);
    EXPECT_TRUE(observer.events.empty());
}

TEST_F(AnalysisRunTest, HitsOnlyShowsTheResultWithEverythingElseNotSelected) {
    ASSERT_EQ(run(profile()), RunOutcome::Delivered);
    const auto& result = shown();
    EXPECT_EQ(result.logFileCount, 3);
    EXPECT_EQ(result.hits, 4);
    EXPECT_EQ(result.hitsAverage, 1);
    EXPECT_FALSE(result.uniqueVisitors);
    EXPECT_FALSE(result.referralSites);
    EXPECT_FALSE(result.bytesTotal);
    EXPECT_EQ(result.title(), "Report Profile - 06/Dec/1999 to 08/Dec/1999");
    EXPECT_EQ(observer.events,
              (Strings{"step Gathering Log Files for Analysis...", "show", "close"}));
    EXPECT_FALSE(observer.busy);
    EXPECT_TRUE(prompt.messages.empty());
}

// Files with lines out of the combined layout are told once the result is
// delivered, one notice each in file order; the figures stay as they were.
TEST_F(AnalysisRunTest, FilesWithLinesOutOfTheCombinedLayoutAreToldAfterDelivery) {
    ASSERT_EQ(run(profile()), RunOutcome::Delivered);
    EXPECT_EQ(output.layoutNotices, std::vector<Strings>{{}});

    test::writeFile(dir / "logs" / "b.log",
                    "10.0.0.4 - - [07/Dec/1999:10:15:32 -0500] \"GET / HTTP/1.0\" 200 5120\n" +
                        logLine("10.0.0.2", "07", "/docs/", "http://ref.example/", "Lynx/2.8"));
    test::writeFile(dir / "logs" / "d.log", "{\"remote_addr\":\"10.0.0.5\"}\n\n{}\n");
    auto report = profile();
    report.visitorsList = report.referrerList = report.popularBrowser = true;
    report.totalOptions = 3;
    ASSERT_EQ(run(report), RunOutcome::Delivered);
    const std::string logs = (dir / "logs").string();
    EXPECT_EQ(output.layoutNotices.back(),
              (Strings{logs + "/b.log: 1 of 2 lines are not in the combined log layout.",
                       logs + "/d.log: 2 of 2 lines are not in the combined log layout."}));
    const auto& result = output.shown.back();
    EXPECT_EQ(result.hits, 7);
    EXPECT_EQ(result.visitors, (Strings{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4"}));
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(AnalysisRunTest, StepsRunInOrderAndTheBarMovesOncePerStep) {
    auto report = profile();
    report.visitorsList = report.referrerList = report.topPagesList = report.popularBrowser = true;
    report.totalBytes = true; // without a connection and requester, no bytes step
    report.totalOptions = 4;
    settings.VisitorFilterList = {"10.0.0.3"};
    settings.TopPagesFilterList = {"/x"};
    ASSERT_EQ(run(report), RunOutcome::Delivered);
    EXPECT_EQ(observer.steps,
              (Strings{"Gathering Log Files for Analysis...", "Compiling Unique Visitors List...",
                       "Tallying Referrer Sites...", "Calculating Top Pages...",
                       "Gathering Browser Types..."}));
    EXPECT_EQ(observer.position, 88);
    const auto& result = shown();
    EXPECT_EQ(result.visitors, (Strings{"10.0.0.1", "10.0.0.2"}));
    EXPECT_EQ(result.uniqueVisitors, 2);
    EXPECT_EQ(result.visitorsAverage, 0);
    EXPECT_EQ(result.referralSites, 1);
    EXPECT_EQ(result.topPages.size(), 2u);
    EXPECT_EQ(result.topPages.percent(1), "66.6666666666667");
    EXPECT_EQ(result.browsers.size(), 2u);
    EXPECT_FALSE(result.bytesTotal);
}

// A step's text is never shown beside the previous step's count, and its
// first check point shows its own count at once.
// The log pass counts the lines read; each step after it shows its own final
// count at once.
TEST_F(AnalysisRunTest, EachStepShowsItsOwnFinalCount) {
    auto report = profile();
    report.visitorsList = report.referrerList = report.topPagesList = report.popularBrowser = true;
    report.totalOptions = 4;
    ASSERT_EQ(run(report), RunOutcome::Delivered);
    const auto reading = std::find_if(
        observer.repaints.begin(), observer.repaints.end(),
        [](const std::string& shown) { return !shown.starts_with("Gathering Log Files"); });
    ASSERT_NE(reading, observer.repaints.begin());
    EXPECT_EQ(*std::prev(reading), "Gathering Log Files for Analysis... | 4");
    EXPECT_EQ(
        Strings(reading, observer.repaints.end()),
        (Strings{"Compiling Unique Visitors List... | ", "Compiling Unique Visitors List... | 3",
                 "Tallying Referrer Sites... | ", "Tallying Referrer Sites... | 1",
                 "Calculating Top Pages... | ", "Calculating Top Pages... | 3",
                 "Gathering Browser Types... | ", "Gathering Browser Types... | 2"}));
}

// The two steps come after the others, each with its final count: the
// days from the first to the last readable one, and the codes met. Pages not
// found or failing are keyed as top pages and lose the rows a page filter
// removes; a request other than GET counts only under its code.
TEST_F(AnalysisRunTest, TrafficAndStatusStepsFollowTheOthersAndWriteTheirSections) {
    test::writeFile(
        dir / "logs" / "d.log",
        "10.0.0.9 - - [08/Dec/1999:23:59:59 -0500] \"GET /x HTTP/1.0\" 404 0\n"
        "10.0.0.9 - - [10/dec/1999:00:00:01 -0500] \"GET /wp-login.php HTTP/1.0\" 404 0\n"
        "10.0.0.8 - - [10/Dec/1999:00:10:00 -0500] \"POST /wp-login.php HTTP/1.0\" 404 0\n"
        "10.0.0.8 - - [10/Dec/1999:00:11:00 -0500] \"GET /cgi HTTP/1.0\" 503 0\n"
        "not a log line\n");
    auto report = profile();
    report.popularBrowser = report.trafficOverTime = report.statusCodes = true;
    report.saveToFile = true;
    report.outputFile = "weekly.txt";
    report.totalOptions = 3;
    settings.TopPagesFilterList = {"/x"};
    ASSERT_EQ(run(report), RunOutcome::Delivered);
    EXPECT_EQ(observer.steps,
              (Strings{"Gathering Log Files for Analysis...", "Gathering Browser Types...",
                       "Tallying Traffic over Time...", "Tallying Status Codes..."}));
    EXPECT_EQ(observer.position, 90);
    EXPECT_EQ(Strings(observer.repaints.end() - 4, observer.repaints.end()),
              (Strings{"Tallying Traffic over Time... | ", "Tallying Traffic over Time... | 5",
                       "Tallying Status Codes... | ", "Tallying Status Codes... | 3"}));

    const std::string written = test::readFile(dir / "logs" / "weekly.txt");
    const std::string expected =
        "------> Traffic by Day <------\r\n\r\nDay, Hits, Visitors\r\n"
        "06/Dec/1999,2,2\r\n07/Dec/1999,1,1\r\n08/Dec/1999,2,2\r\n09/Dec/1999,0,0\r\n"
        "10/Dec/1999,3,2\r\n(no date),1,1\r\n\r\n"
        "------> Hits by Hour <------\r\n\r\nHour, Number, Percentage\r\n"
        "00,3,33.3333333333333\r\n"
        "01,0,0\r\n"
        "02,0,0\r\n"
        "03,0,0\r\n"
        "04,0,0\r\n"
        "05,0,0\r\n"
        "06,0,0\r\n"
        "07,0,0\r\n"
        "08,0,0\r\n"
        "09,0,0\r\n"
        "10,4,44.4444444444444\r\n"
        "11,0,0\r\n"
        "12,0,0\r\n"
        "13,0,0\r\n"
        "14,0,0\r\n"
        "15,0,0\r\n"
        "16,0,0\r\n"
        "17,0,0\r\n"
        "18,0,0\r\n"
        "19,0,0\r\n"
        "20,0,0\r\n"
        "21,0,0\r\n"
        "22,0,0\r\n"
        "23,1,11.1111111111111\r\n"
        "(no date),1,11.1111111111111\r\n\r\n"
        "------> Status Codes <------\r\n\r\nStatus, Number, Percentage\r\n"
        "200,4,44.4444444444444\r\n404,3,33.3333333333333\r\n503,1,11.1111111111111\r\n"
        "(none),1,11.1111111111111\r\n\r\n"
        "------> Pages Not Found <------\r\n\r\nWeb Address, Number, Percentage\r\n"
        "/wp-login.php,1,100\r\n\r\n"
        "------> Server Errors <------\r\n\r\nWeb Address, Number, Percentage\r\n"
        "/cgi,1,100\r\n";
    const auto from = written.find("------> Traffic by Day <------");
    ASSERT_NE(from, std::string::npos) << written;
    EXPECT_EQ(written.substr(from), expected);
    EXPECT_NE(written.find("Total Number of Hits:  9\r\n"), std::string::npos);
}

// Robots' lines count as the report's choice says; unless they count as any
// other, their agents are listed with their share of all lines. Patterns come
// from the shipped list and then the user's; a list that cannot be read is
// told and the run goes on.
TEST_F(AnalysisRunTest, RobotsAreLeftOutOrCountedAloneWithTheirAgentsListed) {
    test::writeFile(dir / "logs" / "d.log",
                    logLine("10.0.0.8", "08", "/", "-", "Googlebot/2.1") +
                        logLine("10.0.0.9", "08", "/", "-", "MyCrawler/1.0"));
    test::writeFile(dir / "shipped.list", "# search engines\r\ngooglebot\r\n");
    test::writeFile(dir / "home" / "robots.list", "mycrawler*\n");
    RunContext context{dir / "home", dir.path(), profiles, settingsStore,
                       settings,     observer,   prompt,   output};
    context.shippedRobots = dir / "shipped.list";
    AnalysisRun robotsRun(context);
    auto report = profile();
    report.visitorsList = true;
    profiles.saveProfile(report);
    const std::string section = test::readFile(dir / "home" / "reports.dat");
    struct Case {
        const char* value;
        std::int32_t hits;
        Strings visitors;
        std::optional<std::vector<std::pair<std::string, std::string>>> robots;
    };
    const Case cases[] = {
        {"Include", 6, {"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.8", "10.0.0.9"}, std::nullopt},
        {"unknown", 6, {"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.8", "10.0.0.9"}, std::nullopt},
        {"Exclude",
         4,
         {"10.0.0.1", "10.0.0.2", "10.0.0.3"},
         {{{"Googlebot/2.1", "16.6666666666667"}, {"MyCrawler/1.0", "16.6666666666667"}}}},
        {"only",
         2,
         {"10.0.0.8", "10.0.0.9"},
         {{{"Googlebot/2.1", "16.6666666666667"}, {"MyCrawler/1.0", "16.6666666666667"}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        test::writeFile(dir / "home" / "reports.dat", section + "Robots=" + c.value + "\r\n");
        ASSERT_EQ(robotsRun.runAnalysis("Weekly"), RunOutcome::Delivered);
        const AnalysisResult& result = output.shown.back();
        EXPECT_EQ(result.visitors, c.visitors);
        EXPECT_EQ(result.hits, c.hits);
        ASSERT_EQ(result.robots.has_value(), c.robots.has_value());
        if (result.robots) {
            std::vector<std::pair<std::string, std::string>> rows;
            for (std::size_t i = 0; i < result.robots->size(); ++i)
                rows.emplace_back(result.robots->rows()[i].key(), result.robots->percent(i));
            EXPECT_EQ(rows, *c.robots);
        }
    }
    EXPECT_TRUE(prompt.messages.empty());

    std::filesystem::remove(dir / "shipped.list");
    ASSERT_EQ(robotsRun.runAnalysis("Weekly"), RunOutcome::Delivered);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_TRUE(prompt.messages[0].first.starts_with((dir / "shipped.list").string() + ": "));
    EXPECT_EQ(output.shown.back().visitors, (Strings{"10.0.0.9"}));
}

// Only the lines of the period count, and the title gives their dates; a
// period given to the run stands for the report's own; a period no line
// falls in ends the run with its message; one that cannot be read counts
// every line and says so.
TEST_F(AnalysisRunTest, OnlyTheLinesOfThePeriodCount) {
    auto report = profile();
    report.visitorsList = true;
    report.period = {PeriodChoice::Between, *isoDayOf("1999-12-07"), *isoDayOf("1999-12-08")};
    ASSERT_EQ(run(report), RunOutcome::Delivered);
    EXPECT_EQ(output.shown.back().hits, 2);
    EXPECT_EQ(output.shown.back().hitsAverage, 0);
    EXPECT_EQ(output.shown.back().visitors, (Strings{"10.0.0.2", "10.0.0.3"}));
    EXPECT_EQ(output.shown.back().title(), "Report Profile - 07/Dec/1999 to 08/Dec/1999");

    RunContext context{dir / "home", dir.path(), profiles, settingsStore,
                       settings,     observer,   prompt,   output};
    context.period =
        ReportPeriod{PeriodChoice::Between, *isoDayOf("1999-12-06"), *isoDayOf("1999-12-06")};
    EXPECT_EQ(AnalysisRun(context).runAnalysis("Weekly"), RunOutcome::Delivered);
    EXPECT_EQ(output.shown.back().visitors, (Strings{"10.0.0.1", "10.0.0.2"}));

    report.period = {PeriodChoice::Between, *isoDayOf("2000-01-01"), *isoDayOf("2000-01-02")};
    EXPECT_EQ(run(report), RunOutcome::Failed);
    EXPECT_EQ(output.shown.size(), 2u);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first, "No line of this report's log files falls in its period "
                                        "(01/Jan/2000 to 02/Jan/2000).");
    EXPECT_EQ(observer.events.back(), "close");

    test::writeFile(dir / "home" / "reports.dat",
                    "[Weekly]\r\nVisitors=1\r\nTotal Options=1\r\nPeriod=Last Fortnight\r\n");
    EXPECT_EQ(engine.runAnalysis("Weekly"), RunOutcome::Delivered);
    EXPECT_EQ(output.shown.back().hits, 4);
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[1].first,
              "The period of this report, \"Last Fortnight\", cannot be read: every line is "
              "counted.");
}

TEST_F(AnalysisRunTest, ProgressStepSizes) {
    const std::pair<std::int32_t, int> cases[] = {{4, 66}, {7, 36}, {0, 0}, {-2, 0}};
    for (const auto& [totalOptions, position] : cases) {
        auto report = profile();
        report.visitorsList = report.referrerList = report.topPagesList = true;
        report.totalOptions = totalOptions;
        ASSERT_EQ(run(report), RunOutcome::Delivered);
        EXPECT_EQ(observer.position, position) << totalOptions;
    }
}

TEST_F(AnalysisRunTest, MissingFileEndsTheRunWithTheWarning) {
    auto report = profile();
    report.inputs.push_back((dir / "missing.log").string());
    report.saveToFile = true;
    EXPECT_EQ(run(report), RunOutcome::Failed);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first,
              "The file(s) listed under this report do not exist.  Please check the filename(s) "
              "by right-clicking on the report and selecting 'Properties.'  Then, click on the "
              "'Inputs' tab.");
    EXPECT_EQ(prompt.messages[0].second, MessageIcon::Warning);
    EXPECT_TRUE(output.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "logs" / "test.txt"));
    EXPECT_FALSE(observer.busy);
}

// The fixed message names no file; a detail line names each file of the list
// that cannot be read, and why.
TEST_F(AnalysisRunTest, EveryFileThatCannotBeReadIsNamedWithTheReason) {
    auto report = profile();
    report.inputs = {(dir / "gone.log").string(), (dir / "logs" / "a.log").string(),
                     (dir / "logs").string(), "/dev/zero"};
    EXPECT_EQ(run(report), RunOutcome::Failed);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first, kMissingFilesMessage);
    EXPECT_EQ(prompt.details, (Strings{(dir / "gone.log").string() + ": No such file or directory",
                                       (dir / "logs").string() + ": Is a directory",
                                       "/dev/zero: not a regular file"}));
}

// Past the tenth, the files that cannot be read are only counted.
TEST_F(AnalysisRunTest, UnreadableFilesPastTheTenthAreCounted) {
    auto report = profile();
    Strings named;
    for (int i = 0; i < 13; ++i) {
        const std::string file = (dir / ("gone" + std::to_string(i) + ".log")).string();
        report.inputs.push_back(file);
        if (i < 10)
            named.push_back(file + ": No such file or directory");
    }
    named.push_back("and 3 more");
    EXPECT_EQ(run(report), RunOutcome::Failed);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.details, named);
}

TEST_F(AnalysisRunTest, OutputFileListedAsAnInputEndsTheRunBeforeAnythingIsWritten) {
    auto report = profile();
    report.inputs = {(dir / "logs" / "a.log").string(), (dir / "logs" / "b.log").string()};
    report.saveToFile = true;
    report.outputFile = (dir / "logs" / "b.log").string();
    const std::string log = test::readFile(dir / "logs" / "b.log");
    EXPECT_EQ(run(report), RunOutcome::Failed);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first,
              "The output file of this report, " + (dir / "logs" / "b.log").string() +
                  ", is also one of its log files.  Please choose another output file by "
                  "right-clicking on the report and selecting 'Properties.'  Then, click on the "
                  "'Output' tab.");
    EXPECT_EQ(prompt.messages[0].second, MessageIcon::Warning);
    EXPECT_EQ(test::readFile(dir / "logs" / "b.log"), log);
    EXPECT_EQ(observer.events.back(), "close");
    EXPECT_EQ(settingsStore.readSortIndex(), std::nullopt);
}

// The second run does not read the report that the first wrote beside the logs.
TEST_F(AnalysisRunTest, ReportBesideItsLogsIsNotReadByTheNextRun) {
    auto report = profile();
    report.inputs = {(dir / "logs").string() + "/*.*"};
    report.saveToFile = true;
    report.outputFile = "test.txt";
    ASSERT_EQ(run(report), RunOutcome::Delivered);
    const std::string first = test::readFile(dir / "logs" / "test.txt");
    ASSERT_EQ(run(report), RunOutcome::Delivered);
    EXPECT_EQ(test::readFile(dir / "logs" / "test.txt"), first);
    EXPECT_NE(first.find("Total Number of Hits:  4\r\n"), std::string::npos);
}

// Cancel while the logs are read ends the run before any look-up: the cache
// of failures is not written either.
TEST_F(AnalysisRunTest, CancelWhileTheFilesAreReadEndsTheRunAsCancelled) {
    std::filesystem::copy_file(TABLE_RESOLVER, dir / "home" / "resolve.so");
    observer.checksBeforeCancel = 0;
    auto report = profile();
    report.visitorsList = report.dnsLookup = report.saveToFile = true;
    EXPECT_EQ(run(report), RunOutcome::Cancelled);
    EXPECT_EQ(observer.steps, Strings{"Gathering Log Files for Analysis..."});
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "logs" / "test.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "home" / "dns.log"));
}

// Logs of a few megabytes are read in several blocks: counted on one thread
// or many, the report is the same to the byte, with the same keys first seen
// in later blocks, in other spellings, and in tied counts.
TEST_F(AnalysisRunTest, ReportsAreTheSameOnAnyNumberOfThreads) {
    std::string big;
    for (int i = 0; i < 40000; ++i) {
        const std::string n = std::to_string(i % 97);
        big += logLine(i % 2 ? "10.0.0." + n : "HOST" + n + ".example", "06", "/p" + n,
                       i % 3 ? "http://Ref" + n + ".example/" : "http://ref" + n + ".EXAMPLE/",
                       i % 5 ? "Agent/" + n : "AGENT/" + n);
    }
    test::writeFile(dir / "logs" / "big.log", big);
    auto report = profile();
    report.visitorsList = report.referrerList = report.topPagesList = true;
    report.popularBrowser = report.saveToFile = true;
    report.outputFile = "test.txt";
    std::string first;
    for (const char* threads : {"1", "2", "8"}) {
        SCOPED_TRACE(threads);
        ::setenv("STATVANE_THREADS", threads, 1);
        ASSERT_EQ(run(report), RunOutcome::Delivered);
        const std::string text = test::readFile(dir / "logs" / "test.txt");
        if (first.empty())
            first = text;
        EXPECT_EQ(text, first);
    }
    ::unsetenv("STATVANE_THREADS");
}

// A requester whose pages get no answer, or whose answers cannot be held.
class OutOfMemoryRequester : public HeadRequester {
  public:
    void setProxy(const ProxySettings&) override {}
    void requestHeads(const std::vector<std::string>&, const Answered&) override {
        if (outOfMemory)
            throw std::bad_alloc();
    }

    bool outOfMemory = false;
};

// Memory runs out in one step (at a check point, or in the page requests):
// the run ends with a message that names that step, and nothing is delivered.
TEST_F(AnalysisRunTest, RunningOutOfMemoryEndsTheRunWithAMessageNamingTheStep) {
    OutOfMemoryRequester requester;
    AnalysisRun bytesRun{RunContext{dir / "home", dir.path(), profiles, settingsStore, settings,
                                    observer, prompt, output, &requester}};
    std::filesystem::copy_file(TABLE_RESOLVER, dir / "home" / "resolve.so");
    auto report = profile();
    report.visitorsList = report.referrerList = report.topPagesList = true;
    report.totalBytes = report.popularBrowser = report.saveToFile = true;
    report.totalOptions = 5;
    profiles.saveProfile(report);
    const std::string bytesStep = "Calculating Total Bytes Transferred...";
    const std::string steps[] = {
        "Gathering Log Files for Analysis...",
        "Compiling Unique Visitors List...",
        "Tallying Referrer Sites...",
        "Calculating Top Pages...",
        bytesStep,
        "Gathering Browser Types...",
    };
    for (const std::string& step : steps) {
        requester.outOfMemory = step == bytesStep;
        observer.onEvents = [&] {
            if (observer.stepText == step && step != bytesStep)
                throw std::bad_alloc();
        };
        prompt.messages.clear();
        observer.events.clear();
        EXPECT_EQ(bytesRun.runAnalysis("Weekly"), RunOutcome::Failed) << step;
        ASSERT_EQ(prompt.messages.size(), 1u) << step;
        EXPECT_EQ(prompt.messages[0].first,
                  "There is not enough memory to finish this analysis (" + step + ").");
        EXPECT_EQ(prompt.messages[0].second, MessageIcon::Error);
        EXPECT_EQ(observer.events.back(), "close") << step;
        EXPECT_FALSE(observer.busy) << step;
        EXPECT_FALSE(bytesRun.running()) << step;
    }
    EXPECT_TRUE(output.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "logs" / "test.txt"));
}

TEST_F(AnalysisRunTest, NothingToReadEndsWithAMessageInsteadOfDividingByZero) {
    auto report = profile();
    report.inputs = {(dir / "nowhere").string() + "/*.*"};
    EXPECT_EQ(run(report), RunOutcome::Failed);
    test::writeFile(dir / "empty.log", "\r\n\r\n");
    report.inputs = {(dir / "empty.log").string()};
    EXPECT_EQ(run(report), RunOutcome::Failed);
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[1].first, kNoLinesMessage);
    EXPECT_TRUE(output.shown.empty());
}

TEST_F(AnalysisRunTest, CancelDeliversNothingAndTheNextRunStartsNormally) {
    auto report = profile();
    report.referrerList = true;
    report.saveToFile = true;
    report.outputFile = "test.txt";
    observer.checksBeforeCancel = 1;
    EXPECT_EQ(run(report), RunOutcome::Cancelled);
    EXPECT_FALSE(std::filesystem::exists(dir / "logs" / "test.txt"));
    EXPECT_FALSE(observer.busy);
    EXPECT_FALSE(engine.running());

    observer.checksBeforeCancel = -1;
    observer.cancel = false;
    EXPECT_EQ(run(report), RunOutcome::Delivered);
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(std::filesystem::exists(dir / "logs" / "test.txt"));
}

TEST_F(AnalysisRunTest, SecondRunCannotStartWhileOneRuns) {
    std::optional<RunOutcome> nested;
    observer.onEvents = [&] {
        if (!nested)
            nested = engine.runAnalysis("Weekly");
    };
    EXPECT_EQ(run(profile()), RunOutcome::Delivered);
    EXPECT_EQ(nested, RunOutcome::Busy);
}

TEST_F(AnalysisRunTest, FileOutputGoesBesideTheLastWildcardFolderAndIsMailed) {
    auto report = profile();
    report.saveToFile = true;
    report.outputFile = "weekly.txt";
    report.emailReport = true;
    report.emailAddresses = "a@example.com; b@example.com";
    ASSERT_EQ(run(report), RunOutcome::Delivered);
    const auto written = dir / "logs" / "weekly.txt";
    EXPECT_TRUE(std::filesystem::exists(written));
    ASSERT_EQ(output.mailed.size(), 1u);
    EXPECT_EQ(output.mailed[0].first, written);
    EXPECT_EQ(output.mailed[0].second, "a@example.com; b@example.com");
    EXPECT_TRUE(output.shown.empty());
    EXPECT_EQ(settingsStore.readSortIndex(), 1);

    output.mailSucceeds = false;
    EXPECT_EQ(run(report), RunOutcome::Failed);
}

TEST_F(AnalysisRunTest, PlainEntriesWriteBesideTheStartDirectoryAndMissingOutputIsTestTxt) {
    auto report = profile();
    report.inputs = {"logs/a.log"};
    report.saveToFile = true;
    profiles.saveProfile(report);
    test::writeFile(dir / "home" / "reports.dat",
                    "[Weekly]\r\nFile=1\r\nTotal Options=1\r\nE-Mail=1\r\n");
    EXPECT_EQ(engine.runAnalysis("Weekly"), RunOutcome::Delivered);
    EXPECT_TRUE(std::filesystem::exists(dir / "test.txt"));
    ASSERT_EQ(output.mailed.size(), 1u);
    EXPECT_EQ(output.mailed[0].second, "");
}

// The Options dialog writes every keystroke into the live settings: a run
// keeps those it started with, its mail included, and the next run takes
// the edits.
TEST_F(AnalysisRunTest, EditsMadeWhileARunIsUnderWayApplyFromTheNextRun) {
    auto report = profile();
    report.visitorsList = true;
    report.referrerList = true;
    report.saveToFile = true;
    report.outputFile = "weekly.txt";
    report.emailReport = true;
    settings.MailSubject = "Before";
    observer.onEvents = [this] {
        settings.VisitorFilterList = {"10.0.0.1"};
        settings.ReferrerFilterList = {"ref.example"};
        settings.MailSubject = "After";
    };
    ASSERT_EQ(run(report), RunOutcome::Delivered);
    const std::string during = test::readFile(dir / "logs" / "weekly.txt");
    ASSERT_EQ(run(report), RunOutcome::Delivered);
    const std::string after = test::readFile(dir / "logs" / "weekly.txt");

    EXPECT_EQ(output.mailSubjects, Strings({"Before", "After"}));
    EXPECT_NE(during.find("10.0.0.1\r\n"), std::string::npos);
    EXPECT_NE(during.find("ref.example"), std::string::npos);
    EXPECT_EQ(after.find("10.0.0.1\r\n"), std::string::npos);
    EXPECT_EQ(after.find("ref.example"), std::string::npos);
}

TEST_F(AnalysisRunTest, EmailWithoutFileShowsTheResultAndMailsNothing) {
    auto report = profile();
    report.emailReport = true;
    ASSERT_EQ(run(report), RunOutcome::Delivered);
    EXPECT_EQ(output.shown.size(), 1u);
    EXPECT_TRUE(output.mailed.empty());
}

TEST_F(AnalysisRunTest, WriteErrorIsShownAsAnError) {
    auto report = profile();
    report.saveToFile = true;
    report.outputFile = (dir / "missing" / "r.txt").string();
    EXPECT_EQ(run(report), RunOutcome::Failed);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first,
              "Cannot create file " + (dir / "missing" / "r.txt").string() + ".");
    EXPECT_EQ(prompt.messages[0].second, MessageIcon::Error);
    EXPECT_EQ(prompt.details,
              Strings{(dir / "missing" / "r.txt").string() + ": No such file or directory"});
}

TEST_F(AnalysisRunTest, ReverseLookupOnlyWithAConnection) {
    auto report = profile();
    report.visitorsList = report.dnsLookup = true;
    test::writeFile(dir / "table", "10.0.0.1 one.example\n");
    test::ScopedEnv table("STATVANE_TEST_RESOLVER_TABLE", (dir / "table").string());
    {
        test::ScopedEnv offline("STATVANE_TEST_CONNECTED", "0");
        std::filesystem::copy_file(TABLE_RESOLVER, dir / "home" / "resolve.so");
        ASSERT_EQ(run(report), RunOutcome::Delivered);
        EXPECT_EQ(shown().visitors, (Strings{"10.0.0.1", "10.0.0.2", "10.0.0.3"}));
        EXPECT_FALSE(std::filesystem::exists(dir / "home" / "dns.log"));
    }
    output.shown.clear();
    settings.MaxCache = "1";
    ASSERT_EQ(run(report), RunOutcome::Delivered);
    EXPECT_EQ(shown().visitors, (Strings{"one.example", "10.0.0.2", "10.0.0.3"}));
    EXPECT_EQ(test::readFile(dir / "home" / "dns.log"), "10.0.0.3\r\n");
}

TEST_F(AnalysisRunTest, MaxCacheThatIsNotANumberEndsTheRunWithoutOutput) {
    auto report = profile();
    report.visitorsList = report.dnsLookup = true;
    std::filesystem::copy_file(TABLE_RESOLVER, dir / "home" / "resolve.so");
    settings.MaxCache = "many";
    EXPECT_EQ(run(report), RunOutcome::Failed);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first, "'many' is not a valid integer value.");
    EXPECT_TRUE(output.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "home" / "dns.log"));
}

} // namespace
} // namespace statvane
