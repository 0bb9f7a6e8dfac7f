#include "compressing.h"
#include "line_reading.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using namespace std::string_literals;
using test::bzipped;
using test::gzipped;
using test::Lines;
using test::xzed;
using test::zstded;

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
    std::optional<std::string> unreadable;
    Lines lines;
};

// Reads a file of the given bytes as a log pass reads it, a block at a time.
Reading readLog(std::string_view bytes) {
    test::TempDir dir;
    test::writeFile(dir / "access.log.2.gz", bytes);
    const auto read = test::readLogBytes(dir / "access.log.2.gz", std::size_t{1} << 20);
    return {read.unreadable, test::blockedLines(read.bytes, std::size_t{1} << 20)};
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

Lines plainLines(std::string_view bytes) {
    const Reading reading = readLog(bytes);
    EXPECT_EQ(reading.unreadable, std::nullopt);
    return reading.lines;
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
        const Lines expected = plainLines(log);
        for (const auto& [name, encode] : encodings) {
            SCOPED_TRACE(testing::Message() << name << ", " << log.size() << " bytes");
            const Reading reading = readLog(encode(log));
            EXPECT_EQ(reading.unreadable, std::nullopt);
            EXPECT_EQ(reading.lines, expected);
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

TEST(CompressedLog, DamagedDataMakesTheFileUnreadable) {
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
        EXPECT_EQ(readLog(bytes).unreadable, reason);
    }
}

} // namespace
} // namespace statvane
