#pragma once

#include "analysis/check_points.h"
#include "analysis/file_buffer.h"

#include <cstddef>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// Every non-empty line of a run's log files, in file order. Each plain file is
// kept as one buffer, the lines of a compressed one in blocks (LineSplitter),
// and each line as a view into its buffer, so a line costs no heap allocation
// of its own. Each line is checked against the combined log layout as it is
// added, while its bytes are at hand.
class LogLines {
  public:
    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    std::string_view operator[](std::size_t i) const { return lines_[i]; }
    std::string_view front() const { return lines_.front(); }
    std::string_view back() const { return lines_.back(); }
    auto begin() const { return lines_.begin(); }
    auto end() const { return lines_.end(); }

    // How many of the lines are not in the combined log layout.
    std::size_t outsideLayout() const { return outsideLayout_; }

    // Bytes held: the file buffers and the line views.
    std::size_t memoryUsed() const;

    void clear();

    // Takes a file's bytes and appends its lines: a line feed ends a line
    // (a carriage return just before it belongs to the line end), a line of
    // more than 4999 characters becomes pieces of 4999 and a shorter rest,
    // and empty pieces are dropped. A last line without a line feed is kept.
    void appendFile(FileBuffer bytes, std::size_t size);

    // For lines stored a piece at a time: a new block held with the file
    // buffers, and a line that lies in one.
    char* addBlock(std::size_t capacity);
    void addLine(std::string_view line);

    // What the lines held at one moment, to drop all that came after it.
    struct Mark {
        std::size_t lines = 0;
        std::size_t buffers = 0;
        std::size_t bufferBytes = 0;
        std::size_t outsideLayout = 0;
    };
    Mark mark() const { return {lines_.size(), buffers_.size(), bufferBytes_, outsideLayout_}; }
    void rollBack(const Mark& mark);

  private:
    std::deque<FileBuffer> buffers_;
    std::size_t bufferBytes_ = 0;
    std::vector<std::string_view> lines_;
    std::size_t outsideLayout_ = 0;
};

inline constexpr std::size_t kMaxLinePiece = 4999;

// How reading one log file ended.
struct LogFileRead {
    enum class Status { Read, Unreadable, Cancelled };
    Status status = Status::Read;
    // Why an unreadable file could not be read, in the system's words, or
    // kNotARegularFile.
    std::string reason;
    // Of a file read: the lines kept, and how many of them are not in the
    // combined log layout.
    std::size_t lines = 0;
    std::size_t outsideLayout = 0;
};

// Appends the lines of one file, passing a check point after every few
// megabytes read. Only ordinary files are read: a folder, a device or a FIFO
// is unreadable. A file that starts as gzip or bzip2 data does is read as it
// is decompressed; damaged or cut short, it is unreadable. Nothing is appended
// when the file is unreadable or the run is cancelled during the read. The
// lines of a file read are counted, and checked against the combined layout.
LogFileRead readLogFile(const std::filesystem::path& file, LogLines& lines, CheckPoints& checks);

// Why a file cannot be read, found out without reading it: the reason
// readLogFile would give for failing to open it, or nothing when it opens.
std::optional<std::string> unreadableReason(const std::filesystem::path& file);

} // namespace statvane
