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

} // namespace

void PassTotals::add(const BlockTally& block, std::size_t file, const PassSelection& selection) {
    if (files.size() <= file)
        files.resize(file + 1);
    files[file].lines += block.lines;
    files[file].outsideLayout += block.outsideLayout;
    if (block.lines > 0) {
        if (lines == 0)
            firstDate = block.firstDate;
        lastDate = block.lastDate;
    }
    lines += block.lines;
    addRows(visitors, block.visitors);
    addRows(referrers, block.referrers);
    addRows(browsers, block.browsers);
    addPages(pages, block.paths, selection.webSite);
}

void PassTotals::finish() {
    for (TallyTable* table : {&visitors, &referrers, &pages, &browsers})
        table->releaseIndex();
}

} // namespace statvane
