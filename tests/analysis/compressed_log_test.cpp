#include "analysis/log_lines.h"
#include "support/recording_run.h"
#include "support/temp_dir.h"

#include <bzlib.h>
#include <gtest/gtest.h>
#include <lzma.h>
#include <zlib.h>
#include <zstd.h>

namespace statvane {
namespace {

using namespace std::string_literals;
using Status = LogFileRead::Status;
using Lines = std::vector<std::string>;

std::string gzipped(std::string_view bytes) {
    z_stream stream{};
    EXPECT_EQ(::deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(::deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(::deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    ::deflateEnd(&stream);
    return out;
}

std::string bzipped(std::string_view bytes) {
    auto size = static_cast<unsigned>(bytes.size() + bytes.size() / 100 + 600);
    std::string out(size, '\0');
    EXPECT_EQ(::BZ2_bzBuffToBuffCompress(out.data(), &size, const_cast<char*>(bytes.data()),
                                         static_cast<unsigned>(bytes.size()), 9, 0, 0),
              BZ_OK);
    out.resize(size);
    return out;
}

std::string xzed(std::string_view bytes) {
    std::string out(::lzma_stream_buffer_bound(bytes.size()), '\0');
    std::size_t size = 0;
    EXPECT_EQ(::lzma_easy_buffer_encode(
                  6, LZMA_CHECK_CRC64, nullptr, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                  bytes.size(), reinterpret_cast<std::uint8_t*>(out.data()), &size, out.size()),
              LZMA_OK);
    out.resize(size);
    return out;
}

std::string zstded(std::string_view bytes) {
    std::string out(::ZSTD_compressBound(bytes.size()), '\0');
    const std::size_t size = ::ZSTD_compress(out.data(), out.size(), bytes.data(), bytes.size(), 3);
    EXPECT_FALSE(::ZSTD_isError(size));
    out.resize(size);
    return out;
}

// Two members (gzip), streams (bzip2, xz) or frames (zstd) one after the other, as `cat` of two
// compressed files makes.
template <std::string (*compress)(std::string_view)> std::string twoParts(std::string_view bytes) {
    return compress(bytes.substr(0, bytes.size() / 2)) + compress(bytes.substr(bytes.size() / 2));
}

// Zero bytes after the last member, as a tape block pads it; more than one
// chunk of them.
std::string gzippedWithZeros(std::string_view bytes) {
    return twoParts<gzipped>(bytes) + std::string((std::size_t{3} << 20) / 2, '\0');
}

struct Reading {
    LogFileRead result;
    Lines lines;
};

// Reads a file of the given bytes after a plain file of one line, which must
// stay whatever becomes of the second.
Reading readAfterAPlainFile(std::string_view bytes, test::RecordingObserver& observer) {
    test::TempDir dir;
    test::writeFile(dir / "first.log", "first\n");
    test::writeFile(dir / "access.log.2.gz", bytes);
    CheckPoints checks(observer, 1);
    LogLines lines;
    EXPECT_EQ(readLogFile(dir / "first.log", lines, checks).status, Status::Read);
    const LogFileRead result = readLogFile(dir / "access.log.2.gz", lines, checks);
    Lines kept(lines.begin(), lines.end());
    EXPECT_EQ(kept.at(0), "first");
    kept.erase(kept.begin());
    return {result, kept};
}

Reading readAfterAPlainFile(std::string_view bytes) {
    test::RecordingObserver observer;
    return readAfterAPlainFile(bytes, observer);
}

// Several megabytes, so that chunks end all over the lines: short and long
// lines, both line ends, and a last line without one.
std::string largeLog() {
    std::string log;
    for (int i = 0; i < 60000; ++i) {
        log += "10.0." + std::to_string(i % 251) + ".1 - - [09/Nov/2026:12:00:00 +0000] \"GET /p" +
               std::to_string(i) + " HTTP/1.0\" 200 512 \"-\" \"Agent\"";
        if (i % 1000 == 999)
            log += std::string(6000 + i % 7, 'x');
        log += i % 7 == 0 ? "\r\n" : "\n";
    }
    return log + "last line";
}

Reading plainReading(std::string_view bytes) {
    const Reading reading = readAfterAPlainFile(bytes);
    EXPECT_EQ(reading.result.status, Status::Read);
    return reading;
}

Lines plainLines(std::string_view bytes) {
    return plainReading(bytes).lines;
}

TEST(CompressedLog, GivesTheLinesOfThePlainFile) {
    const std::pair<const char*, std::string (*)(std::string_view)> encodings[] = {
        {"gzip", gzipped},
        {"gzip, two members", twoParts<gzipped>},
        {"gzip, trailing zero bytes", gzippedWithZeros},
        {"bzip2", bzipped},
        {"bzip2, two streams", twoParts<bzipped>},
        {"xz", xzed},
        {"xz, two streams", twoParts<xzed>},
        {"zstd", zstded},
        {"zstd, two frames", twoParts<zstded>},
    };
    const std::string logs[] = {
        "a\nb\n",
        "crlf\r\nlines\r\n\r\nno final line feed",
        "a\n\n\r\n\nb\n\n",
        "two\r\r\nnul\0byte\n\xff\xfe"s,
        "",
        std::string(12000, 'x') + "\r\n" + std::string(4998, 'y') + "\r\n",
        largeLog(),
    };
    for (const std::string& log : logs) {
        const Reading expected = plainReading(log);
        for (const auto& [name, encode] : encodings) {
            SCOPED_TRACE(testing::Message() << name << ", " << log.size() << " bytes");
            const Reading reading = readAfterAPlainFile(encode(log));
            EXPECT_EQ(reading.result.status, Status::Read);
            EXPECT_EQ(reading.lines, expected.lines);
            EXPECT_EQ(reading.result.lines, expected.result.lines);
            EXPECT_EQ(reading.result.outsideLayout, expected.result.outsideLayout);
        }
    }
}

// Only the first bytes say whether a file is compressed: its name does not,
// and a file too short to hold them is plain.
TEST(CompressedLog, IsRecognisedByItsFirstBytes) {
    const std::pair<std::string, Lines> cases[] = {
        {"", {}},
        {"\x1f", {"\x1f"}},
        {"\x1f\x8c\n", {"\x1f\x8c"}},
        {"BZhello\n", {"BZhello"}},
        {"BZh", {"BZh"}},
        {"\xfd"
         "7zXZ\n",
         {"\xfd"
          "7zXZ"}},
        {"\x28\xb5\x2f\n", {"\x28\xb5\x2f"}},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(plainLines(bytes), expected) << bytes;
}

TEST(CompressedLog, DamagedDataMakesTheFileUnreadableWithNothingKept) {
    const std::string log = largeLog();
    const std::string gzip = gzipped(log);
    const std::string bzip2 = bzipped(log);
    const std::string xz = xzed(log);
    const std::string zstd = zstded(log);
    const auto withByteFlipped = [](std::string bytes, std::size_t at) {
        bytes[at] = static_cast<char>(bytes[at] ^ 0x55);
        return bytes;
    };
    const std::pair<std::string, std::string> cases[] = {
        {gzip.substr(0, gzip.size() - 4), "gzip data cut short"},
        {gzip.substr(0, gzip.size() / 2), "gzip data cut short"},
        {gzip.substr(0, 2), "gzip data cut short"},
        {gzip + gzip.substr(0, gzip.size() / 2), "gzip data cut short"},
        {withByteFlipped(gzip, gzip.size() - 8), "damaged gzip data: incorrect data check"},
        {withByteFlipped(gzip, 3), "damaged gzip data: unknown header flags set"},
        {gzip + "trailing text\n", "damaged gzip data: incorrect header check"},
        {gzip + std::string(5, '\0') + "text\n", "damaged gzip data: incorrect header check"},
        {bzip2.substr(0, bzip2.size() - 4), "bzip2 data cut short"},
        {bzip2.substr(0, bzip2.size() / 2), "bzip2 data cut short"},
        {bzip2 + bzip2.substr(0, 20), "bzip2 data cut short"},
        {withByteFlipped(bzip2, bzip2.size() - 2), "damaged bzip2 data: data integrity error"},
        {withByteFlipped(bzip2, bzip2.size() / 2), "damaged bzip2 data: data integrity error"},
        {bzip2 + "trailing text\n", "damaged bzip2 data: not bzip2 data"},
        {xz.substr(0, xz.size() - 4), "xz data cut short"},
        {withByteFlipped(xz, xz.size() / 2), "damaged xz data: corrupt data"},
        {xz + "trailing text\n", "damaged xz data: not xz data"},
        {zstd.substr(0, zstd.size() - 4), "zstd data cut short"},
        {withByteFlipped(zstd, zstd.size() - 2), "damaged zstd data: Data corruption detected"},
        {zstd + "trailing text\n", "damaged zstd data: Unknown frame descriptor"},
    };
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(reason);
        const Reading reading = readAfterAPlainFile(bytes);
        EXPECT_EQ(reading.result.status, Status::Unreadable);
        EXPECT_EQ(reading.result.reason, reason);
        EXPECT_TRUE(reading.lines.empty());
    }
}

TEST(CompressedLog, DecompressingPassesCheckPointsAndStopsOnCancel) {
    const std::string gzip = gzipped(largeLog() + "\n" + largeLog());

    test::RecordingObserver observer;
    observer.checksBeforeCancel = 1000;
    EXPECT_EQ(readAfterAPlainFile(gzip, observer).result.status, Status::Read);
    EXPECT_GE(observer.checks, 10); // 13 MB out, a megabyte at a time

    observer.checks = 0;
    observer.checksBeforeCancel = 3; // two for the plain file
    const Reading cancelled = readAfterAPlainFile(gzip, observer);
    EXPECT_EQ(cancelled.result.status, Status::Cancelled);
    EXPECT_TRUE(cancelled.lines.empty());
}

// A small file that expands a thousandfold costs the memory of its lines only.
TEST(CompressedLog, MemoryGrowsWithTheKeptLinesOnly) {
    const std::string bomb = gzipped(std::string(std::size_t{32} << 20, '\n') + "one line\n" +
                                     std::string(std::size_t{32} << 20, '\n'));
    ASSERT_LT(bomb.size(), 100000u);
    test::TempDir dir;
    test::writeFile(dir / "bomb.gz", bomb);
    test::RecordingObserver observer;
    CheckPoints checks(observer, 1);
    LogLines lines;
    EXPECT_EQ(readLogFile(dir / "bomb.gz", lines, checks).status, Status::Read);
    EXPECT_EQ(Lines(lines.begin(), lines.end()), Lines{"one line"});
    EXPECT_LE(lines.memoryUsed(), std::size_t{8} << 20);
}

} // namespace
} // namespace statvane
