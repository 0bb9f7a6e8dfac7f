#include "analysis/pass_totals.h"

namespace statvane {
namespace {

void addRows(TallyTable& totals, const TallyTable& block) {
    for (std::size_t i = 0; i < block.size(); ++i) {
        const TallyRow& row = block.rows()[i];
        totals.tally(row.key(), block.hashAt(i), row.count);
    }
}

// The page of a path: the path as an address on the site.
void addPages(TallyTable& pages, const TallyTable& paths, const std::string& webSite) {
    std::string page;
    for (const TallyRow& row : paths.rows()) {
        page = webSite;
        if (row.key() != "/" && !row.key().empty())
            page += '/';
        page += row.key();
        pages.tally(page, row.count);
    }
}

template <typename Counts> void addCounts(Counts& totals, const Counts& block) {
    for (std::size_t i = 0; i < totals.size(); ++i)
        totals[i] += block[i];
}

} // namespace

void PassTotals::add(const BlockTally& block, std::size_t file, const PassSelection& selection) {
    if (files.size() <= file)
        files.resize(file + 1);
    files[file].lines += block.readLines;
    files[file].outsideLayout += block.outsideLayout;
    if (block.lines > 0) {
        if (lines == 0)
            firstDate = block.firstDate;
        lastDate = block.lastDate;
    }
    lines += block.lines;
    periodLines += block.periodLines;
    addRows(visitors, block.visitors);
    addRows(referrers, block.referrers);
    addRows(browsers, block.browsers);
    addRows(robots, block.robots);
    addPages(pages, block.paths, selection.webSite);
    if (selection.traffic)
        addTraffic(block);
    if (selection.status)
        addStatus(block, selection.webSite);
}

void PassTotals::addTraffic(const BlockTally& block) {
    for (const BlockTally::DayTally& day : block.days) {
        const auto [at, added] = days.try_emplace(day.day);
        if (added)
            at->second.day = day.day;
        at->second.hits += day.hits;
        addRows(at->second.visitors, day.visitors);
    }
    addCounts(hours, block.hours);
    undated += block.undated;
    addRows(undatedVisitors, block.undatedVisitors);
}

void PassTotals::addStatus(const BlockTally& block, const std::string& webSite) {
    addCounts(statuses, block.statuses);
    uncoded += block.uncoded;
    addPages(notFound, block.notFoundPaths, webSite);
    addPages(serverErrors, block.serverErrorPaths, webSite);
}

void PassTotals::finish() {
    for (TallyTable* table : {&visitors, &referrers, &pages, &browsers, &robots, &undatedVisitors,
                              &notFound, &serverErrors})
        table->releaseIndex();
    for (auto& [number, day] : days)
        day.visitors.releaseIndex();
}

} // namespace statvane
