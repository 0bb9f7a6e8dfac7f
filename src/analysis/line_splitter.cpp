#include "analysis/line_splitter.h"

#include <algorithm>
#include <cstring>

namespace statvane {
namespace {

constexpr std::size_t kLargestBlockSize = std::size_t{4} << 20;

} // namespace

void LineSplitter::feed(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t feed = bytes.find('\n');
        extendPiece(bytes.substr(0, feed));
        if (feed == std::string_view::npos)
            return;
        endLine();
        bytes.remove_prefix(feed + 1);
    }
}

// A full piece is kept only when more of its line follows: a carriage return
// that ends it may still turn out to belong to the line end.
void LineSplitter::extendPiece(std::string_view bytes) {
    while (!bytes.empty()) {
        if (pieceLength_ == kMaxLinePiece)
            keepPiece();
        if (pieceLength_ == 0 && blockLeft_ < kMaxLinePiece)
            startBlock();
        const std::size_t taken = std::min(kMaxLinePiece - pieceLength_, bytes.size());
        std::memcpy(piece_ + pieceLength_, bytes.data(), taken);
        pieceLength_ += taken;
        bytes.remove_prefix(taken);
    }
}

void LineSplitter::startBlock() {
    piece_ = lines_.addBlock(nextBlockSize_);
    blockLeft_ = nextBlockSize_;
    nextBlockSize_ = std::min(2 * nextBlockSize_, kLargestBlockSize);
}

void LineSplitter::endLine() {
    if (pieceLength_ > 0 && piece_[pieceLength_ - 1] == '\r')
        --pieceLength_;
    keepPiece();
}

void LineSplitter::keepPiece() {
    if (pieceLength_ == 0)
        return;
    lines_.addLine({piece_, pieceLength_});
    piece_ += pieceLength_;
    blockLeft_ -= pieceLength_;
    pieceLength_ = 0;
}

} // namespace statvane
