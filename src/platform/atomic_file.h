#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace statvane {

// How replacing a file went: true when the new contents are in place;
// otherwise the stage that failed and the system's error number.
class ReplaceResult {
  public:
    enum class Stage {
        Done,
        // The new file could not be made: the old one is read-only or not an
        // ordinary file, or no temporary file could be created beside it.
        Create,
        // Writing the temporary file or flushing it to the disk failed.
        Write,
        // It could not be renamed over the old file.
        Rename,
    };

    ReplaceResult() = default;
    // systemError 0 means that the file in the way is not an ordinary file.
    ReplaceResult(Stage failedStage, int systemError)
        : failedStage_(failedStage), systemError_(systemError) {}

    explicit operator bool() const { return failedStage_ == Stage::Done; }
    Stage failedStage() const { return failedStage_; }
    int systemError() const { return systemError_; }
    // Why it failed, in the system's words ("No space left on device").
    std::string reason() const;

  private:
    Stage failedStage_ = Stage::Done;
    int systemError_ = 0;
};

// Who may read a replaced file.
enum class FileReaders {
    // An existing file keeps its permission bits; a new one gets the mode
    // asked for, less the umask.
    AsBefore,
    // Its owner only (mode 0600), whatever it allowed before: for a file that
    // receives a password. The mode is set before the contents are in place.
    OwnerOnly,
};

// Replaces a file's contents at once, written in pieces: the new contents go
// to a hidden temporary file in the same folder (".name.XXXXXX", which folder
// searches for logs pass over), are flushed to the disk and renamed over the
// old file by commit(), so a failure or a crash never leaves half a file. The
// temporary file is removed on every failure, and when the replacement ends
// without a commit. The file's mode follows `readers`; an existing file
// keeps, where the process may set them, its owner and group. A file without
// any write permission bit counts as read-only and is refused. A symbolic
// link stays a link: the file it names is replaced, or made. On failure the
// old contents are untouched.
class FileReplacement {
  public:
    explicit FileReplacement(const std::filesystem::path& file, mode_t newFileMode = 0666,
                             FileReaders readers = FileReaders::AsBefore);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Adds to the new contents. Pieces are gathered into blocks before they
    // are written; after a failure (of the refusal or creation at the start
    // too) they are dropped, and commit() tells the failure.
    void append(std::string_view text);
    // Puts the new contents in place; called once, after the last append.
    ReplaceResult commit();

  private:
    void write(std::string_view text);
    void flush();
    void fail(ReplaceResult::Stage stage);
    void discard();

    std::filesystem::path file_;
    std::string temporary_;
    int fd_ = -1;
    std::string buffer_;
    ReplaceResult result_;
};

// Replaces a file's contents with `contents` in one call, as FileReplacement
// does.
ReplaceResult replaceFileContents(const std::filesystem::path& file, std::string_view contents,
                                  mode_t newFileMode = 0666,
                                  FileReaders readers = FileReaders::AsBefore);

// Reads a whole file; false when it is missing or cannot be read, with errno
// telling why: EISDIR for a folder, 0 for any other file that is not a
// regular file. A device or a FIFO is never read, nor waited on.
bool readFileContents(const std::filesystem::path& file, std::string& contents);

} // namespace statvane
