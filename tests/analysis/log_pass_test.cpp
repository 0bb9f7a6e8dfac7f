#include "analysis/log_pass.h"
#include "compressing.h"
#include "line_reading.h"
#include "steps_fixture.h"
#include "support/pass_totals_text.h"
#include "support/temp_dir.h"
#include "support/unwatched_run.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using Status = PassEnd::Status;
using Files = std::vector<std::pair<std::string, std::string>>; // name, bytes
using test::combined;
using test::totalsText;

PassSelection everything() {
    PassSelection selection = test::everyLineAnalysis();
    selection.traffic = selection.status = true;
    selection.latestYear = 2027;
    selection.referrerFilters = {"spam"};
    return selection;
}

class LogPassTest : public ::testing::Test, public test::StepsFixture {
  protected:
    std::vector<std::filesystem::path> write(const Files& files) {
        std::vector<std::filesystem::path> paths;
        for (const auto& [name, bytes] : files) {
            test::writeFile(dir / name, bytes);
            paths.push_back(dir / name);
        }
        return paths;
    }

    PassEnd pass(const std::vector<std::filesystem::path>& files, PassTotals& totals,
                 PassSettings settings = {}) {
        CheckPoints checks(observer, 1);
        return runLogPass(files, everything(), totals, checks, settings);
    }

    // What one thread counting each file whole gives.
    static std::string wholeFilesText(const std::vector<std::filesystem::path>& files) {
        PassTotals totals;
        for (std::size_t i = 0; i < files.size(); ++i) {
            BlockTally block;
            block.count(test::readLogBytes(files[i]).bytes, everything());
            totals.add(block, i, everything());
        }
        return totalsText(totals);
    }

    test::TempDir dir;
};

std::string repeated(const std::string& line, int times) {
    std::string bytes;
    for (int i = 0; i < times; ++i)
        bytes += line;
    return bytes;
}

std::string line(const std::string& host, const std::string& path, const std::string& referrer,
                 const std::string& agent, const char* end = "\n") {
    return combined(host, "GET " + path + " HTTP/1.0", referrer, agent) + end;
}

// Logs that put the same keys on both sides of block edges, in other
// spellings, in later blocks of earlier files and in compressed files.
std::vector<Files> mergeCases() {
    const std::string tieA = line("a.example", "/a", "http://r.example/A", "AgentA/1.0");
    const std::string tieB = line("b.example", "/b", "http://r.example/B", "AgentB/1.0");
    const std::string lower =
        line("mixed.example", "/Mixed", "http://Mixed.example/", "MixedAgent");
    const std::string upper =
        line("MIXED.example", "/MIXED", "http://MIXED.example/", "MIXEDAGENT");
    const std::string longLine =
        line("long.example", "/" + std::string(12000, 'p'), "-", std::string(7000, 'q'), "\r\n");
    const std::string crlf = line("crlf.example", "/crlf", "http://crlf.example/", "Agent", "\r\n");
    const std::string spam = line("s.example", "/s", "http://SPAM.example/", "Agent");
    const std::string notFound =
        "n.example - - [07/Dec/1999:01:00:00 -0500] \"GET /Missing HTTP/1.0\" 404 0 \"-\" \"A\"\n";
    const std::string failed =
        "F.example - - [05/dec/1999:23:00:00 -0500] \"GET /cgi HTTP/1.0\" 503 0 \"-\" \"A\"\n";
    return {
        {{"ties.log", repeated(tieA + tieB, 40) + repeated(tieB + tieA, 40)}},
        {{"first.log", repeated(tieA, 60) + lower}, {"second.log", upper + repeated(tieB, 60)}},
        {{"spellings.log", repeated(tieA, 30) + upper + repeated(tieB, 30) + lower + crlf}},
        {{"long.log", tieA + longLine + tieB + longLine + crlf + repeated(crlf, 20)}},
        {{"one.log", tieB},
         {"empty.log", ""},
         {"blank.log", "\n\r\n\n"},
         {"two.log", spam + crlf + "no final line feed"}},
        {{"plain.log", repeated(tieA + lower, 30)},
         {"packed.log.gz", test::gzipped(repeated(upper + tieB + crlf, 30))},
         {"packed.log.zst", test::zstded(repeated(longLine + tieA, 5))},
         {"last.log", tieB + upper}},
        {{"later.log", repeated(notFound + tieA, 20)},
         {"earlier.log", repeated(failed + tieB + notFound, 20) + "\n-\n"}},
    };
}

// However the files are cut into blocks and however many threads count them,
// every table, count and date is what one thread reading each file whole
// gives.
TEST_F(LogPassTest, BlocksAndThreadsGiveWhatOneThreadGives) {
    for (const Files& files : mergeCases()) {
        const auto paths = write(files);
        const std::string expected = wholeFilesText(paths);
        for (const std::size_t threads : {1, 2, 8}) {
            for (const std::size_t blockSize : {1, 7, 100, 4999, 5000, 65536}) {
                SCOPED_TRACE(testing::Message() << files.front().first << ", " << threads
                                                << " threads, blocks of " << blockSize);
                PassTotals totals;
                EXPECT_EQ(pass(paths, totals, {threads, blockSize}).status, Status::Done);
                EXPECT_EQ(totalsText(totals), expected);
            }
        }
    }
}

TEST_F(LogPassTest, EachFileCountsItsLinesAndThoseOutOfTheCombinedLayout) {
    const std::string good = line("h", "/", "-", "Agent");
    const std::string common = "h - - [06/Dec/1999:10:15:32 -0500] \"GET / HTTP/1.0\" 200 1";
    const auto paths = write({{"mixed.log", good + "\n" + common + "\r\n" + good},
                              {"combined.log", good + good},
                              {"long.log", line("h", "/" + std::string(10000, 'p'), "-", "A")}});
    PassTotals totals;
    ASSERT_EQ(pass(paths, totals, {2, 4096}).status, Status::Done);
    EXPECT_EQ(totals.lines, 8u);
    ASSERT_EQ(totals.files.size(), 3u);
    const std::pair<std::size_t, std::size_t> expected[] = {{3, 1}, {2, 0}, {3, 3}};
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(std::pair(totals.files[i].lines, totals.files[i].outsideLayout), expected[i]);
    EXPECT_EQ(totals.firstDate, "06/Dec/1999");
    EXPECT_EQ(observer.count, "8");
}

// The pass ends at the file that cannot be read on, whatever was read before.
TEST_F(LogPassTest, AFileThatCannotBeReadEndsThePass) {
    const std::string log = repeated(line("h", "/", "-", "Agent"), 3000);
    const std::string gzip = test::gzipped(log);
    const std::pair<Files, std::pair<std::size_t, std::string>> cases[] = {
        {{{"one.log", log}, {"cut.gz", gzip.substr(0, gzip.size() / 2)}, {"three.log", log}},
         {1, "gzip data cut short"}},
        {{{"one.log", log}, {"folder", ""}}, {1, "Is a directory"}},
    };
    for (const auto& [files, failure] : cases) {
        auto paths = write(files);
        if (files.back().first == "folder") {
            std::filesystem::remove(paths.back());
            std::filesystem::create_directory(paths.back());
        }
        PassTotals totals;
        const PassEnd end = pass(paths, totals, {2, 4096});
        EXPECT_EQ(end.status, Status::Unreadable);
        EXPECT_EQ(std::pair(end.file, end.reason), failure);
    }
}

// Cancel is seen between blocks and while the threads count: the pass stops
// there. A small file that expands a thousandfold is read a block at a time.
TEST_F(LogPassTest, CancelStopsThePassAtItsNextCheckPoint) {
    const std::string bomb = test::gzipped(std::string(std::size_t{32} << 20, '\n') + "one line\n" +
                                           std::string(std::size_t{32} << 20, '\n'));
    const auto paths = write({{"bomb.gz", bomb}});
    observer.checksBeforeCancel = 1000;
    PassTotals totals;
    ASSERT_EQ(pass(paths, totals, {2, std::size_t{1} << 20}).status, Status::Done);
    EXPECT_EQ(totals.lines, 1u);
    EXPECT_GE(observer.checks, 64); // a check point for each block of 1 MiB

    observer.checks = 0;
    observer.checksBeforeCancel = 3;
    PassTotals cancelled;
    EXPECT_EQ(pass(paths, cancelled, {2, std::size_t{1} << 20}).status, Status::Cancelled);
    EXPECT_EQ(observer.checks, 4);
}

} // namespace
} // namespace statvane
