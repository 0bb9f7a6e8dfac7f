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
    lastVisitor_ = lastReferrer_ = lastPath_ = lastBrowser_ = {};
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
            countKey(visitors, lastVisitor_, *visitor);
    if (selection.referrers)
        if (const auto referrer = referrerOf(line))
            countReferrer(*referrer, selection.referrerFilters);
    if (selection.pages)
        if (const auto path = requestPathOf(line);
            path && !(path->empty() && selection.webSite.empty()))
            countKey(paths, lastPath_, *path);
    if (selection.browsers)
        if (const auto browser = browserOf(line); browser && browser->size() >= kShortestBrowser)
            countKey(browsers, lastBrowser_, *browser);
}

void BlockTally::countKey(TallyTable& table, LastKey& last, std::string_view key) {
    if (last.row == kNoRow || key != last.key) {
        const std::uint32_t hash = TallyTable::hashOf(key);
        const auto found = table.find(key, hash);
        last = {key, found ? *found : table.append(key, hash, 0)};
    }
    table.increment(last.row);
}

void BlockTally::countReferrer(std::string_view referrer, const std::vector<std::string>& filters) {
    if (lastReferrer_.row == kNoRow || referrer != lastReferrer_.key)
        lastReferrer_ = {referrer, referrerRow(referrer, filters)};
    if (lastReferrer_.row != kRefused)
        referrers.increment(lastReferrer_.row);
}

// The referrer's row, new with a count of 0 when it is met for the first
// time, or kRefused. Referrers equal ignoring case have the same lower-case
// text, so a row found either way decides.
std::size_t BlockTally::referrerRow(std::string_view referrer,
                                    const std::vector<std::string>& filters) {
    const std::uint32_t hash = TallyTable::hashOf(referrer);
    if (const auto row = referrers.find(referrer, hash))
        return *row;
    if (refusedReferrers.find(referrer, hash))
        return kRefused;
    lowered_.assign(referrer);
    for (char& c : lowered_)
        c = ascii::toLower(c);
    if (lowered_.size() >= kShortestReferrer && !containsAny(lowered_, filters))
        return referrers.append(lowered_, hash, 0);
    refusedReferrers.append(referrer, hash, 0);
    return kRefused;
}

} // namespace statvane
