#include "analysis/block_tally.h"

#include "analysis/combined_layout.h"
#include "analysis/line_pieces.h"
#include "analysis/log_fields.h"
#include "platform/ascii.h"

#include <algorithm>

namespace statvane {
namespace {

constexpr std::size_t kShortestReferrer = 3;
constexpr std::size_t kShortestBrowser = 6;

bool containsAny(std::string_view text, const std::vector<std::string>& filters) {
    return std::any_of(filters.begin(), filters.end(), [text](const std::string& filter) {
        return text.find(filter) != std::string_view::npos;
    });
}

std::string dateText(std::string_view line) {
    return std::string(dateOf(line).value_or(""));
}

} // namespace

void BlockTally::clear() {
    lines = 0;
    outsideLayout = 0;
    firstDate.clear();
    lastDate.clear();
    visitors.clear();
    referrers.clear();
    refusedReferrers.clear();
    paths.clear();
    browsers.clear();
}

void BlockTally::count(std::string_view bytes, const PassSelection& selection) {
    std::string_view first;
    std::string_view last;
    forEachLinePiece(bytes, [&](std::string_view line) {
        if (first.empty())
            first = line;
        last = line;
        countLine(line, selection);
    });
    if (lines > 0) {
        firstDate = dateText(first);
        lastDate = dateText(last);
    }
}

void BlockTally::countLine(std::string_view line, const PassSelection& selection) {
    ++lines;
    if (!inCombinedLayout(line))
        ++outsideLayout;
    if (selection.visitors)
        if (const auto visitor = visitorOf(line))
            visitors.tally(*visitor);
    if (selection.referrers)
        if (const auto referrer = referrerOf(line))
            countReferrer(*referrer, selection.referrerFilters);
    if (selection.pages)
        if (const auto path = requestPathOf(line);
            path && !(path->empty() && selection.webSite.empty()))
            paths.tally(*path);
    if (selection.browsers)
        if (const auto browser = browserOf(line); browser && browser->size() >= kShortestBrowser)
            browsers.tally(*browser);
}

// Referrers equal ignoring case have the same lower-case text, so a row found
// either way decides the line.
void BlockTally::countReferrer(std::string_view referrer, const std::vector<std::string>& filters) {
    const std::uint32_t hash = TallyTable::hashOf(referrer);
    if (const auto row = referrers.find(referrer, hash)) {
        referrers.increment(*row);
        return;
    }
    if (refusedReferrers.find(referrer, hash))
        return;
    lowered_.assign(referrer);
    for (char& c : lowered_)
        c = ascii::toLower(c);
    if (lowered_.size() >= kShortestReferrer && !containsAny(lowered_, filters))
        referrers.tally(lowered_, hash, 1);
    else
        refusedReferrers.tally(referrer, hash, 1);
}

} // namespace statvane
