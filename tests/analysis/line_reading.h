#pragma once

#include "analysis/line_pieces.h"
#include "analysis/log_file_reader.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace statvane::test {

using Lines = std::vector<std::string>;

inline void appendLines(std::string_view bytes, Lines& lines) {
    forEachLinePiece(bytes, [&lines](std::string_view line) { lines.emplace_back(line); });
}

inline Lines linesOf(std::string_view bytes) {
    Lines lines;
    appendLines(bytes, lines);
    return lines;
}

// The lines of bytes that arrive `piece` bytes at a time, cut into blocks as a
// log pass cuts them.
inline Lines blockedLines(std::string_view bytes, std::size_t piece) {
    Lines lines;
    std::string pending;
    for (std::size_t at = 0;; at += piece) {
        pending += bytes.substr(std::min(at, bytes.size()), piece);
        const bool ended = at + piece >= bytes.size();
        const std::size_t length = blockLength(pending, ended);
        appendLines(std::string_view(pending).substr(0, length), lines);
        pending.erase(0, length);
        if (ended)
            return lines;
    }
}

// A file's bytes as openLogFile reads them, or why it cannot be read.
struct FileBytes {
    std::string bytes;
    std::optional<std::string> unreadable;
};

inline FileBytes readLogBytes(const std::filesystem::path& file, std::size_t piece = 65536) {
    FileBytes read;
    std::string reason;
    const auto reader = openLogFile(file, reason);
    if (!reader)
        return {{}, reason};
    std::string room(piece, '\0');
    for (;;) {
        const auto got = reader->read(room);
        if (!got)
            return {read.bytes, reader->reason()};
        read.bytes.append(room, 0, *got);
        if (*got < piece)
            return read;
    }
}

} // namespace statvane::test
