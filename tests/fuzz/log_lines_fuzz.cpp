// Cutting a log file into lines. The pieces must stand in the file in order,
// each 1 to 4999 bytes without a line feed; what lies between them must be
// line ends only (a line feed, or a carriage return and a line feed); and a
// piece may run straight into the next only when it had to stop at 4999
// bytes. Reading the input as two files must give the lines of each in turn,
// and fed in chunks (as a compressed log is decompressed) the same lines as
// whole.
#include "analysis/line_splitter.h"
#include "analysis/log_lines.h"
#include "fuzz_support.h"

#include <cstring>
#include <string>
#include <vector>

namespace statvane::fuzz {
namespace {

LogLines linesOfFiles(std::initializer_list<std::string_view> files) {
    LogLines lines;
    for (const std::string_view file : files) {
        FileBuffer bytes(file.size());
        std::memcpy(bytes.data(), file.data(), file.size());
        lines.appendFile(std::move(bytes), file.size());
    }
    return lines;
}

// The position after the line ends (line feeds, or carriage return and line
// feed pairs) that start at `at`.
std::size_t skipLineEnds(std::string_view file, std::size_t at) {
    while (at < file.size()) {
        if (file.substr(at).starts_with("\r\n"))
            at += 2;
        else if (file[at] == '\n')
            ++at;
        else
            break;
    }
    return at;
}

void checkPieces(const LogLines& lines, std::string_view file) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view piece = lines[i];
        require(!piece.empty() && piece.size() <= kMaxLinePiece, "a piece holds 1 to 4999 bytes");
        require(piece.find('\n') == std::string_view::npos, "a piece holds no line feed");
        const std::size_t start = skipLineEnds(file, at);
        require(file.substr(start, piece.size()) == piece,
                "the pieces stand in the file in order, apart only by line ends");
        require(start > at || i == 0 || lines[i - 1].size() == kMaxLinePiece,
                "a piece runs into the next only when cut at 4999 bytes");
        at = start + piece.size();
        require(!(piece.back() == '\r' && at < file.size() && file[at] == '\n'),
                "the carriage return before a line feed belongs to the line end");
    }
    require(skipLineEnds(file, at) == file.size(), "only line ends follow the last piece");
}

std::vector<std::string> copies(const LogLines& lines) {
    return {lines.begin(), lines.end()};
}

LogLines linesInChunks(std::string_view file, std::size_t chunk) {
    LogLines lines;
    LineSplitter splitter(lines);
    for (std::size_t at = 0; at < file.size(); at += chunk)
        splitter.feed(file.substr(at, chunk));
    splitter.finish();
    return lines;
}

} // namespace
} // namespace statvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace statvane::fuzz;
    const std::string_view bytes = textOf(data, size);
    checkPieces(linesOfFiles({bytes}), bytes);

    const std::string_view first = bytes.substr(0, bytes.size() / 2);
    const std::string_view second = bytes.substr(bytes.size() / 2);
    auto expected = copies(linesOfFiles({first}));
    const auto ofSecond = copies(linesOfFiles({second}));
    expected.insert(expected.end(), ofSecond.begin(), ofSecond.end());
    require(copies(linesOfFiles({first, second})) == expected,
            "two files give the lines of the first, then those of the second");

    const auto whole = copies(linesOfFiles({bytes}));
    const std::size_t chunk = size > 0 ? 1 + data[0] % 16 : 1;
    for (const std::size_t length : {chunk, statvane::kMaxLinePiece, statvane::kMaxLinePiece + 1})
        require(copies(linesInChunks(bytes, length)) == whole,
                "lines fed in chunks are the lines of the whole file");
    return 0;
}
