#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace statvane {

// One log file's bytes, read a piece at a time: as they are on the disk, or
// decompressed when the file starts as compressed data (gzip, bzip2, xz,
// zstd; recognised by its first bytes, never by its name).
class LogFileReader {
  public:
    virtual ~LogFileReader() = default;

    // Puts the file's next bytes at the front of room, filling it unless the
    // file ends first, and says how many. Nothing when the file cannot be
    // read on (damaged or cut-short compressed data, a read error): reason()
    // says why.
    virtual std::optional<std::size_t> read(std::span<char> room) = 0;

    const std::string& reason() const { return reason_; }

  protected:
    std::string reason_;
};

// Opens a log file for reading. Only ordinary files are read: for a folder,
// a device, a FIFO or a file that cannot be opened it gives nothing and sets
// reason to why, in the system's words, or kNotARegularFile.
std::unique_ptr<LogFileReader> openLogFile(const std::filesystem::path& file, std::string& reason);

// Why a file cannot be read, found out without reading it: the reason
// openLogFile would give, or nothing when it opens.
std::optional<std::string> unreadableReason(const std::filesystem::path& file);

} // namespace statvane
