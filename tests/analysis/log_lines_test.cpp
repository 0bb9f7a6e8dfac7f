#include "analysis/log_lines.h"
#include "support/recording_run.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace statvane {
namespace {

using namespace std::string_literals;
using Status = LogFileRead::Status;

LogFileRead read(const std::filesystem::path& file, LogLines& lines) {
    test::RecordingObserver observer;
    CheckPoints checks(observer, 1);
    return readLogFile(file, lines, checks);
}

std::vector<std::string> linesOf(std::string_view bytes) {
    test::TempDir dir;
    test::writeFile(dir / "access.log", bytes);
    LogLines lines;
    EXPECT_EQ(read(dir / "access.log", lines).status, Status::Read);
    return {lines.begin(), lines.end()};
}

TEST(LogLines, LineEnds) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\n\n\r\n\nb\n\n", {"a", "b"}},
        {"lone\rcr\n", {"lone\rcr"}},
        {"cr at end\r", {"cr at end\r"}},
        {"two\r\r\n", {"two\r"}},
        {"nul\0byte\n\xff\xfe\n"s, {"nul\0byte"s, "\xff\xfe"}},
        {"", {}},
        {"\n", {}},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(linesOf(bytes), expected);
}

TEST(LogLines, LongLinesBecomePiecesOf4999) {
    const std::string line(12000, 'x');
    const auto lines =
        linesOf(line + "\r\n" + std::string(4999, 'y') + "\n" + std::string(9998, 'z') + "\r\n");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].size(), 4999u);
    EXPECT_EQ(lines[1].size(), 4999u);
    EXPECT_EQ(lines[2].size(), 2002u);
    EXPECT_EQ(lines[3], std::string(4999, 'y'));
    EXPECT_EQ(lines[4], std::string(4999, 'z'));
    EXPECT_EQ(lines[5], std::string(4999, 'z'));
}

TEST(LogLines, FilesAppendInOrder) {
    test::TempDir dir;
    test::writeFile(dir / "one.log", "1a\n1b\n");
    test::writeFile(dir / "two.log", "2a");
    LogLines lines;
    EXPECT_EQ(read(dir / "one.log", lines).status, Status::Read);
    EXPECT_EQ(read(dir / "two.log", lines).status, Status::Read);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()),
              (std::vector<std::string>{"1a", "1b", "2a"}));
    EXPECT_EQ(lines.front(), "1a");
    EXPECT_EQ(lines.back(), "2a");
    lines.clear();
    EXPECT_TRUE(lines.empty());
}

// Each file read counts its non-empty lines (pieces of long ones included)
// and those of them that are not in the combined layout.
TEST(LogLines, EachFileCountsItsLinesAndThoseOutOfTheCombinedLayout) {
    const std::string combined =
        "h - - [06/Dec/1999:10:15:32 -0500] \"GET / HTTP/1.0\" 200 1 \"-\" \"Agent\"";
    const std::string common = "h - - [06/Dec/1999:10:15:32 -0500] \"GET / HTTP/1.0\" 200 1";
    const std::string longCombined =
        "h - - [d:t] \"GET /" + std::string(10000, 'p') + " HTTP/1.0\" 200 1 \"-\" \"A\"";
    test::TempDir dir;
    test::writeFile(dir / "mixed.log", combined + "\n\n" + common + "\r\n" + combined);
    test::writeFile(dir / "combined.log", combined + "\n" + combined + "\n");
    test::writeFile(dir / "long.log", longCombined + "\n");
    LogLines lines;
    const std::pair<const char*, std::pair<std::size_t, std::size_t>> files[] = {
        {"mixed.log", {3, 1}}, {"combined.log", {2, 0}}, {"long.log", {3, 3}}};
    for (const auto& [name, counts] : files) {
        const LogFileRead read = statvane::read(dir / name, lines);
        EXPECT_EQ(std::pair(read.lines, read.outsideLayout), counts) << name;
    }
    EXPECT_EQ(lines.outsideLayout(), 4u);
    lines.clear();
    EXPECT_EQ(lines.outsideLayout(), 0u);
}

// Only regular files are read: a device would never end and a FIFO without a
// writer would wait for ever.
TEST(LogLines, FilesThatCannotBeReadAreReportedWithTheReason) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {dir / "missing.log", "No such file or directory"},
        {dir.path(), "Is a directory"},
        {"/dev/zero", "not a regular file"},
        {dir / "fifo", "not a regular file"},
    };
    for (const auto& [file, reason] : cases) {
        SCOPED_TRACE(file);
        LogLines lines;
        const LogFileRead result = read(file, lines);
        EXPECT_EQ(result.status, Status::Unreadable);
        EXPECT_EQ(result.reason, reason);
        EXPECT_TRUE(lines.empty());
        EXPECT_EQ(unreadableReason(file), reason);
    }
    test::writeFile(dir / "one.log", "1\n");
    EXPECT_EQ(unreadableReason(dir / "one.log"), std::nullopt);
}

TEST(LogLines, ReadingPassesACheckPointEveryFewMegabytesAndStopsOnCancel) {
    test::TempDir dir;
    const std::string line = std::string(99, 'x') + "\n";
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += line;
    test::writeFile(dir / "large.log", bytes);

    test::RecordingObserver observer;
    observer.checksBeforeCancel = 1000;
    CheckPoints checks(observer, 1);
    LogLines lines;
    EXPECT_EQ(readLogFile(dir / "large.log", lines, checks).status, Status::Read);
    EXPECT_EQ(lines.size(), 200000u);
    EXPECT_GE(observer.checks, 4); // 20 MB in pieces of a few megabytes

    observer.checks = 0;
    observer.checksBeforeCancel = 1;
    LogLines cancelled;
    EXPECT_EQ(readLogFile(dir / "large.log", cancelled, checks).status, Status::Cancelled);
    EXPECT_EQ(observer.checks, 2);
    EXPECT_TRUE(cancelled.empty());
}

} // namespace
} // namespace statvane
