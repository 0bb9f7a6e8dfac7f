#pragma once

#include "analysis/block_tally.h"
#include "analysis/check_points.h"
#include "analysis/pass_totals.h"

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>

namespace statvane {

struct PassSettings {
    // Threads that count blocks; the calling thread reads the files and adds
    // the blocks up.
    std::size_t threads = 1;
    // Bytes read from a file for each block; a block holds whole lines (or
    // whole pieces of a long line), so it may hold a little more or less.
    std::size_t blockSize = std::size_t{1} << 20;
};

// How a pass ended.
struct PassEnd {
    enum class Status { Done, Unreadable, Cancelled };
    Status status = Status::Done;
    // Of an unreadable file: its number in the list, and why, in the
    // system's words, or kNotARegularFile.
    std::size_t file = 0;
    std::string reason;
};

// One pass over the lines of the files, in order: each file is read a block
// at a time (decompressed as it is read when it is compressed), the blocks
// are counted by the selected analyses on settings.threads threads, and the
// totals are added up in file order. Only the tables and a few blocks are
// held, never a whole file. The check points come between blocks and while
// waiting on the threads, counting the lines read so far, and the last one
// shows the final count. Ends at the first file that cannot be opened or read
// on, or on Cancel; totals are then incomplete. An allocation that fails on a
// thread is raised here as std::bad_alloc.
PassEnd runLogPass(std::span<const std::filesystem::path> files, const PassSelection& selection,
                   PassTotals& totals, CheckPoints& checks, const PassSettings& settings);

} // namespace statvane
