#include "platform/atomic_file.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace statvane {
namespace {

namespace fs = std::filesystem;
using Stage = ReplaceResult::Stage;

struct stat statOf(const fs::path& file) {
    struct stat info {};
    EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
    return info;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class AtomicFileTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    const fs::path file = dir / "report.txt";
};

TEST_F(AtomicFileTest, ReplacedFileKeepsItsPermissionBits) {
    for (const mode_t mode : {0600, 0640, 0664, 0755, 02775}) {
        test::writeFile(file, "old");
        ASSERT_EQ(::chmod(file.c_str(), mode), 0);
        ASSERT_TRUE(replaceFileContents(file, "new", 0600));
        EXPECT_EQ(test::readFile(file), "new");
        EXPECT_EQ(statOf(file).st_mode & 07777, mode) << std::oct << mode;
    }
}

TEST_F(AtomicFileTest, NewFileGetsTheGivenModeLessTheUmask) {
    const mode_t mask = ::umask(022);
    EXPECT_TRUE(replaceFileContents(dir / "a", "x", 0666));
    EXPECT_TRUE(replaceFileContents(dir / "b", "x", 0600));
    ::umask(mask);
    EXPECT_EQ(statOf(dir / "a").st_mode & 07777, 0644u);
    EXPECT_EQ(statOf(dir / "b").st_mode & 07777, 0600u);
}

// A job run as root replaces a user's file: the file stays the user's.
TEST_F(AtomicFileTest, ReplacedFileKeepsItsOwnerWhenRunAsRoot) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another owner";
    constexpr uid_t kNobody = 65534;
    test::writeFile(file, "old");
    ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(replaceFileContents(file, "new"));
    const struct stat info = statOf(file);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNobody);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// The file a link names is written, whether it exists or not, through a
// chain of links too.
TEST_F(AtomicFileTest, LinkStaysALinkAndItsTargetIsReplaced) {
    test::writeFile(file, "old");
    fs::create_directory(dir / "sub");
    struct Case {
        const char* what;
        std::vector<std::pair<fs::path, fs::path>> links; // (link, what it holds), last first
        fs::path written;
    };
    const Case cases[] = {
        {"existing file", {{dir / "link.txt", file}}, file},
        {"missing file, relative", {{dir / "dangling.txt", "sub/new.txt"}}, dir / "sub/new.txt"},
        {"missing file, absolute", {{dir / "absolute.txt", dir / "abs.txt"}}, dir / "abs.txt"},
        {"chain to a missing file",
         {{dir / "sub/last.txt", "../chained.txt"}, {dir / "first.txt", "sub/last.txt"}},
         dir / "chained.txt"},
    };
    for (const auto& [what, links, written] : cases) {
        SCOPED_TRACE(what);
        for (const auto& [link, target] : links)
            fs::create_symlink(target, link);
        const fs::path& named = links.back().first;
        ASSERT_TRUE(replaceFileContents(named, "new"));
        for (const auto& [link, target] : links) {
            EXPECT_TRUE(fs::is_symlink(link));
            EXPECT_EQ(fs::read_symlink(link), target);
        }
        EXPECT_EQ(test::readFile(written), "new");
    }
}

// Each failure leaves the old file as it was and no temporary file behind.
TEST_F(AtomicFileTest, FailuresLeaveTheOldFileWhole) {
    const std::string old(5000, 'o');
    const std::string large(100000, 'n');
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    struct Case {
        const char* what;
        fs::path target;
        mode_t mode;
        Stage stage;
        std::string reason;
    };
    const Case cases[] = {
        {"read-only file", file, 0444, Stage::Create, "Permission denied"},
        {"folder", dir / "folder", 0, Stage::Create, "Is a directory"},
        {"FIFO", dir / "fifo", 0, Stage::Create, "not a regular file"},
        {"missing folder", dir / "missing" / "report.txt", 0, Stage::Create,
         "No such file or directory"},
        {"full disk", file, 0644, Stage::Write, "File too large"},
    };
    for (const auto& [what, target, mode, stage, reason] : cases) {
        SCOPED_TRACE(what);
        if (mode != 0) {
            test::writeFile(target, old);
            ASSERT_EQ(::chmod(target.c_str(), mode), 0);
        }
        const auto before = namesIn(dir.path());
        const ReplaceResult result = [&] {
            test::ScopedFileSizeLimit limit(old.size() + 1000);
            return replaceFileContents(target, large);
        }();
        EXPECT_FALSE(result);
        EXPECT_EQ(result.failedStage(), stage);
        EXPECT_EQ(result.reason(), reason);
        EXPECT_EQ(namesIn(dir.path()), before);
        if (mode != 0) {
            EXPECT_EQ(test::readFile(target), old);
        }
    }
}

// Contents given in pieces of every size around that of the block gathered
// before a write: many small ones across several blocks' edges, one block's
// worth after gathered text, one larger than a block; each piece its own.
std::vector<std::string> piecesAroundABlock() {
    constexpr std::size_t kBlock = 64 * 1024;
    std::vector<std::string> pieces;
    for (int i = 0; i < 3000; ++i)
        pieces.push_back("line " + std::to_string(i) + std::string(i % 97, '.') + "\r\n");
    pieces.emplace_back(kBlock, 'b');
    pieces.emplace_back(kBlock + 4321, 'c');
    pieces.emplace_back("end\r\n");
    return pieces;
}

// Only a committed replacement puts the pieces in place, in their order; a
// full disk midway or no commit leaves the old file, and never the temporary.
TEST_F(AtomicFileTest, ContentsWrittenInPieces) {
    const std::string old(5000, 'o');
    const std::vector<std::string> pieces = piecesAroundABlock();
    std::string whole;
    for (const auto& piece : pieces)
        whole += piece;
    struct Case {
        const char* what;
        rlim_t sizeLimit; // 0: none
        bool committed;
        Stage stage;
        int systemError;
    };
    const Case cases[] = {
        {"committed", 0, true, Stage::Done, 0},
        {"full disk midway", whole.size() / 2, true, Stage::Write, EFBIG},
        {"given up before the commit", 0, false, Stage::Done, 0},
    };
    for (const auto& [what, sizeLimit, committed, stage, systemError] : cases) {
        SCOPED_TRACE(what);
        test::writeFile(file, old);
        const auto before = namesIn(dir.path());
        std::optional<ReplaceResult> result;
        {
            std::optional<test::ScopedFileSizeLimit> limit;
            if (sizeLimit != 0)
                limit.emplace(sizeLimit);
            FileReplacement replacement(file);
            for (const auto& piece : pieces)
                replacement.append(piece);
            if (committed)
                result = replacement.commit();
        }
        EXPECT_EQ(namesIn(dir.path()), before);
        const bool replaced = committed && stage == Stage::Done;
        EXPECT_TRUE(test::readFile(file) == (replaced ? whole : old));
        if (committed) {
            EXPECT_EQ(result->failedStage(), stage);
            EXPECT_EQ(result->systemError(), systemError);
        }
    }
}

} // namespace
} // namespace statvane
