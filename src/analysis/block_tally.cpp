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

// The path a page is counted by: an empty one names a page only on a web
// site.
std::optional<std::string_view> pagePathOf(std::string_view line, const std::string& webSite) {
    const auto path = requestPathOf(line);
    if (!path || (path->empty() && webSite.empty()))
        return std::nullopt;
    return path;
}

constexpr int kNotFound = 404;
constexpr int kFirstServerError = 500;

std::string dateText(std::string_view line) {
    return std::string(dateOf(line).value_or(""));
}

} // namespace

void BlockTally::clear() {
    readLines = 0;
    periodLines = 0;
    lines = 0;
    outsideLayout = 0;
    firstDate.clear();
    lastDate.clear();
    visitors.clear();
    referrers.clear();
    refusedReferrers.clear();
    paths.clear();
    browsers.clear();
    robots.clear();
    days.clear();
    dayRows_.clear();
    hours.fill(0);
    undated = 0;
    undatedVisitors.clear();
    statuses.fill(0);
    uncoded = 0;
    notFoundPaths.clear();
    serverErrorPaths.clear();
    lastVisitor_ = lastReferrer_ = lastPath_ = lastBrowser_ = lastRobot_ = {};
    blockClients_.clear();
    clientDays_.clear();
    lastDay_ = kNoRow;
}

void BlockTally::count(std::string_view bytes, const PassSelection& selection) {
    timeReader_ = LogTimeReader(selection.latestYear);
    std::string_view first;
    std::string_view last;
    forEachLinePiece(bytes, [&](std::string_view line) {
        ++readLines;
        if (!inCombinedLayout(line))
            ++outsideLayout;
        const auto time =
            selection.period || selection.traffic ? timeReader_.read(line) : std::nullopt;
        if (selection.period && !(time && selection.period->contains(time->day)))
            return;
        ++periodLines;
        if (selection.robots != RobotLines::Include && !countsAsRobotChoiceSays(line, selection))
            return;
        if (first.empty())
            first = line;
        last = line;
        countLine(line, time, selection);
    });
    if (lines > 0) {
        firstDate = dateText(first);
        lastDate = dateText(last);
    }
}

// Counts a robot's agent, and says whether the line counts in the analyses:
// only when robots are, or only when they alone are, as the choice says.
bool BlockTally::countsAsRobotChoiceSays(std::string_view line, const PassSelection& selection) {
    if (!robotVerdicts_)
        robotVerdicts_.emplace(*selection.robotMatcher);
    const std::string_view agent = agentOf(line).value_or("");
    const bool robot = robotVerdicts_->isRobot(agent);
    if (robot)
        countKey(robots, lastRobot_, agent);
    return robot == (selection.robots == RobotLines::Only);
}

void BlockTally::countLine(std::string_view line, const std::optional<LogTime>& time,
                           const PassSelection& selection) {
    ++lines;
    // The traffic's visitors are found by their row among the block's
    // clients: in the visitors table, or in a table of the block's own.
    TallyTable& clients = selection.visitors ? visitors : blockClients_;
    std::size_t client = kNoRow;
    if (selection.visitors || selection.traffic)
        if (const auto visitor = visitorOf(line))
            client = countKey(clients, lastVisitor_, *visitor);
    if (selection.referrers)
        if (const auto referrer = referrerOf(line))
            countReferrer(*referrer, selection.referrerFilters);
    if (selection.pages)
        if (const auto path = pagePathOf(line, selection.webSite))
            countKey(paths, lastPath_, *path);
    if (selection.browsers)
        if (const auto browser = browserOf(line); browser && browser->size() >= kShortestBrowser)
            countKey(browsers, lastBrowser_, *browser);
    if (selection.traffic)
        countTime(time, clients, client);
    if (selection.status)
        countStatus(line, selection.webSite);
}

void BlockTally::countTime(const std::optional<LogTime>& time, const TallyTable& clients,
                           std::size_t client) {
    if (!time) {
        ++undated;
        addDayVisitor(undatedVisitors, kUndated, clients, client);
        return;
    }
    ++hours[static_cast<std::size_t>(time->hour)];
    DayTally& day = dayOf(*time);
    ++day.hits;
    addDayVisitor(day.visitors, day.day, clients, client);
}

// A client is looked up in a day's visitors only when its last line in the
// block was on another day: clients come back on the same day far more often
// than they are new to it.
void BlockTally::addDayVisitor(TallyTable& dayVisitors, std::int32_t day, const TallyTable& clients,
                               std::size_t client) {
    if (client == kNoRow)
        return;
    if (clientDays_.size() <= client)
        clientDays_.resize(clients.size(), kNoDay);
    if (clientDays_[client] == day)
        return;
    clientDays_[client] = day;
    const std::string_view key = clients.rows()[client].key();
    const std::uint32_t hash = clients.hashAt(client);
    if (!dayVisitors.find(key, hash))
        dayVisitors.append(key, hash, 0);
}

// The day's row, new when the block meets the day for the first time.
BlockTally::DayTally& BlockTally::dayOf(const LogTime& time) {
    if (lastDay_ == kNoRow || days[lastDay_].day != time.day) {
        const auto [found, added] = dayRows_.try_emplace(time.day, days.size());
        if (added)
            days.push_back({time.day, 0, {}});
        lastDay_ = found->second;
    }
    return days[lastDay_];
}

void BlockTally::countStatus(std::string_view line, const std::string& webSite) {
    const auto code = statusCodeOf(line);
    if (!code) {
        ++uncoded;
        return;
    }
    ++statuses[static_cast<std::size_t>(*code - kLowestStatus)];
    TallyTable* const paths = *code == kNotFound           ? &notFoundPaths
                              : *code >= kFirstServerError ? &serverErrorPaths
                                                           : nullptr;
    if (paths)
        if (const auto path = pagePathOf(line, webSite))
            paths->tally(*path);
}

std::size_t BlockTally::countKey(TallyTable& table, LastKey& last, std::string_view key) {
    if (last.row == kNoRow || key != last.key) {
        const std::uint32_t hash = TallyTable::hashOf(key);
        const auto found = table.find(key, hash);
        last = {key, found ? *found : table.append(key, hash, 0)};
    }
    table.increment(last.row);
    return last.row;
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
