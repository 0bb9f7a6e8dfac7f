#pragma once

#include "analysis/block_tally.h"
#include "analysis/tally_table.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace statvane {

// What a log pass found in all its files: the blocks' counts and tables added
// up in file order, so that every row stands where its first occurrence (the
// earliest file and line) puts it and keeps the spelling met there.
struct PassTotals {
    // Every line read from a file, counted or not.
    struct FileLines {
        std::size_t lines = 0;
        std::size_t outsideLayout = 0;
    };

    // The lines counted: the hits.
    std::size_t lines = 0;
    // The lines of the period (all without one), robots' or not.
    std::size_t periodLines = 0;
    // One entry per file of the pass, in order.
    std::vector<FileLines> files;
    // The dates of the first and the last line of all.
    std::string firstDate;
    std::string lastDate;

    TallyTable visitors;
    TallyTable referrers;
    // Full addresses on the web site.
    TallyTable pages;
    TallyTable browsers;
    // Robots' agents, unless robots are included.
    TallyTable robots;

    // By day number: in calendar order, whatever order the files are in.
    std::map<std::int32_t, BlockTally::DayTally> days;
    HourCounts hours{};
    std::int64_t undated = 0;
    TallyTable undatedVisitors;

    StatusCounts statuses{};
    std::int64_t uncoded = 0;
    // Full addresses on the web site, as pages.
    TallyTable notFound;
    TallyTable serverErrors;

    // Adds a block of file number `file`; blocks come in file order.
    void add(const BlockTally& block, std::size_t file, const PassSelection& selection);

    // Frees what only counting needs, once every block is added.
    void finish();

  private:
    void addTraffic(const BlockTally& block);
    void addStatus(const BlockTally& block, const std::string& webSite);
};

} // namespace statvane
