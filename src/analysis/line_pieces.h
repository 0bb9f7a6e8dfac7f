#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace statvane {

// A log line longer than this counts as pieces of this many characters and a
// shorter rest, each a line of its own.
inline constexpr std::size_t kMaxLinePiece = 4999;

// Calls onLine for each line of bytes, in order: a line feed ends a line (a
// carriage return just before it belongs to the line end), a line of more
// than kMaxLinePiece characters becomes pieces, and empty pieces are passed
// over. A last line without a line feed counts too, its carriage return
// included.
template <typename OnLine> void forEachLinePiece(std::string_view bytes, OnLine&& onLine) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const char* feed =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* stop = feed ? feed : end;
        std::size_t length = static_cast<std::size_t>(stop - p);
        if (feed && length > 0 && p[length - 1] == '\r')
            --length;
        if (length <= kMaxLinePiece) {
            if (length > 0)
                onLine(std::string_view(p, length));
        } else {
            for (std::size_t offset = 0; offset < length; offset += kMaxLinePiece)
                onLine(std::string_view(p + offset, std::min(kMaxLinePiece, length - offset)));
        }
        p = feed ? feed + 1 : end;
    }
}

// Where to cut the bytes read so far from one file into a block whose lines
// forEachLinePiece counts exactly as it would count them in the whole file:
// after the last line feed, or, when the last line is longer than a piece,
// at the last piece boundary of that line that more of the line follows
// (pieces count from the line's start). The rest waits for the next block.
// At the end of the file everything is the block. Zero when no cut is
// possible yet: more of the file is needed.
std::size_t blockLength(std::string_view bytes, bool fileEnded);

} // namespace statvane
