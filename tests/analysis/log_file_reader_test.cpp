#include "line_reading.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace statvane {
namespace {

TEST(LogFileReader, ReadsThePlainFileWholeWhateverThePieces) {
    test::TempDir dir;
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += "line " + std::to_string(i) + (i % 3 ? "\n" : "\r\n");
    test::writeFile(dir / "access.log", bytes);
    for (const std::size_t piece : {1, 7, 4096, 1 << 20}) {
        const auto read = test::readLogBytes(dir / "access.log", piece);
        EXPECT_EQ(read.unreadable, std::nullopt);
        EXPECT_EQ(read.bytes, bytes) << piece;
    }
}

// Only regular files are read: a device would never end and a FIFO without a
// writer would wait for ever.
TEST(LogFileReader, FilesThatCannotBeReadAreReportedWithTheReason) {
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
        EXPECT_EQ(test::readLogBytes(file).unreadable, reason);
        EXPECT_EQ(unreadableReason(file), reason);
    }
    test::writeFile(dir / "one.log", "1\n");
    EXPECT_EQ(unreadableReason(dir / "one.log"), std::nullopt);
}

} // namespace
} // namespace statvane
