#include "analysis/line_pieces.h"

namespace statvane {

std::size_t blockLength(std::string_view bytes, bool fileEnded) {
    if (fileEnded)
        return bytes.size();
    const std::size_t feed = bytes.rfind('\n');
    const std::size_t lineStart = feed == std::string_view::npos ? 0 : feed + 1;
    const std::size_t lineSoFar = bytes.size() - lineStart;
    // A piece is whole once a byte of its line follows it: a carriage return
    // at its end may otherwise still turn out to belong to the line end.
    if (lineSoFar <= kMaxLinePiece)
        return lineStart;
    return lineStart + (lineSoFar - 1) / kMaxLinePiece * kMaxLinePiece;
}

} // namespace statvane
