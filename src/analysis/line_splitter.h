#pragma once

#include "analysis/log_lines.h"

#include <cstddef>
#include <string_view>

namespace statvane {

// Cuts bytes that arrive a chunk at a time (a log being decompressed) into the
// same lines LogLines::appendFile makes of the whole file at once, wherever
// the chunks happen to end. Only the kept pieces are stored, packed into
// blocks that the lines own, so line ends and blank lines cost no memory.
class LineSplitter {
  public:
    explicit LineSplitter(LogLines& lines) : lines_(lines) {}

    void feed(std::string_view bytes);

    // Keeps a last line that has no line feed.
    void finish() { keepPiece(); }

  private:
    void extendPiece(std::string_view bytes);
    void startBlock();
    void endLine();
    void keepPiece();

    LogLines& lines_;
    char* piece_ = nullptr; // where the piece being read starts, in the current block
    std::size_t pieceLength_ = 0;
    std::size_t blockLeft_ = 0;
    // Blocks start small, so that each of many short logs costs little, and
    // double up to a few megabytes.
    std::size_t nextBlockSize_ = std::size_t{64} << 10;
};

} // namespace statvane
