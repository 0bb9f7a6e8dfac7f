// Cutting log files into lines and counting them in one pass. The pieces must
// stand in the file in order, each 1 to 4999 bytes without a line feed; what
// lies between them must be line ends only (a line feed, or a carriage return
// and a line feed); and a piece may run straight into the next only when it
// had to stop at 4999 bytes. Read as two files, cut into blocks of any size
// and counted on any number of threads, the input must give what one thread
// counting each file whole gives (a half that starts like compressed data is
// decompressed, or found damaged, alike).
#include "../analysis/line_reading.h"
#include "../support/pass_totals_text.h"
#include "../support/unwatched_run.h"
#include "analysis/line_pieces.h"
#include "analysis/log_pass.h"
#include "fuzz_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace statvane::fuzz {
namespace {

std::vector<std::string_view> piecesOf(std::string_view file) {
    std::vector<std::string_view> pieces;
    forEachLinePiece(file, [&pieces](std::string_view piece) { pieces.push_back(piece); });
    return pieces;
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

void checkPieces(std::string_view file) {
    const auto pieces = piecesOf(file);
    std::size_t at = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::string_view piece = pieces[i];
        require(!piece.empty() && piece.size() <= kMaxLinePiece, "a piece holds 1 to 4999 bytes");
        require(piece.find('\n') == std::string_view::npos, "a piece holds no line feed");
        const std::size_t start = skipLineEnds(file, at);
        require(file.substr(start, piece.size()) == piece,
                "the pieces stand in the file in order, apart only by line ends");
        require(start > at || i == 0 || pieces[i - 1].size() == kMaxLinePiece,
                "a piece runs into the next only when cut at 4999 bytes");
        at = start + piece.size();
        require(!(piece.back() == '\r' && at < file.size() && file[at] == '\n'),
                "the carriage return before a line feed belongs to the line end");
    }
    require(skipLineEnds(file, at) == file.size(), "only line ends follow the last piece");
}

PassSelection everything() {
    PassSelection selection = test::everyLineAnalysis();
    selection.traffic = selection.status = true;
    selection.latestYear = 2027;
    selection.referrerFilters = {"spam"};
    return selection;
}

// A file that cannot be read (one that starts like compressed data may be
// damaged) ends a pass there.
std::string unreadableText(std::size_t file, const std::string& reason) {
    return "file " + std::to_string(file) + " unreadable: " + reason;
}

std::string countedText(const std::vector<std::filesystem::path>& files, PassSettings settings) {
    test::UnwatchedRun observer;
    CheckPoints checks(observer, 1);
    PassTotals totals;
    const PassEnd end = runLogPass(files, everything(), totals, checks, settings);
    require(end.status != PassEnd::Status::Cancelled, "nobody cancels");
    if (end.status == PassEnd::Status::Unreadable)
        return unreadableText(end.file, end.reason);
    return test::totalsText(totals);
}

// What one thread gives, counting the bytes of each file whole.
std::string wholeFilesText(const std::vector<std::filesystem::path>& files) {
    PassTotals totals;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const test::FileBytes read = test::readLogBytes(files[i]);
        if (read.unreadable)
            return unreadableText(i, *read.unreadable);
        BlockTally block;
        block.count(read.bytes, everything());
        totals.add(block, i, everything());
    }
    return test::totalsText(totals);
}

std::filesystem::path written(const std::string& name, std::string_view bytes) {
    static const std::filesystem::path folder = [] {
        char pattern[] = "/tmp/statvane-fuzz-XXXXXX";
        require(::mkdtemp(pattern) != nullptr, "a folder for the files");
        return std::filesystem::path(pattern);
    }();
    std::ofstream(folder / name, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return folder / name;
}

} // namespace
} // namespace statvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace statvane::fuzz;
    const std::string_view bytes = textOf(data, size);
    checkPieces(bytes);

    const std::string_view first = bytes.substr(0, bytes.size() / 2);
    const std::string_view second = bytes.substr(bytes.size() / 2);
    const std::vector<std::filesystem::path> files{written("first.log", first),
                                                   written("second.log", second)};
    const std::string expected = wholeFilesText(files);
    const std::uint8_t chooser = size > 0 ? data[size - 1] : 0;
    const std::size_t blockSize = 1 + chooser % 64 * (chooser % 3 == 0 ? 100 : 1);
    const std::size_t threads = 1 + chooser / 64 + chooser % 5;
    for (const statvane::PassSettings settings :
         {statvane::PassSettings{1, blockSize}, statvane::PassSettings{threads, blockSize}})
        require(countedText(files, settings) == expected,
                "blocks on threads give what one thread counting each file whole gives");
    return 0;
}
