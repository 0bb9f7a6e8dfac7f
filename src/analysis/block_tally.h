#pragma once

#include "analysis/log_fields.h"
#include "analysis/log_time.h"
#include "analysis/robot_verdicts.h"
#include "analysis/tally_table.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace statvane {

// How the lines of robots count: as any other line, not at all, or alone.
enum class RobotLines { Include, Exclude, Only };

// The per-line analyses a log pass runs, and what they need.
struct PassSelection {
    bool visitors = false;
    bool referrers = false;
    bool pages = false;
    bool browsers = false;
    // Hits and visitors per day, hits per hour.
    bool traffic = false;
    // Hits per status code, and the pages not found or failing.
    bool status = false;
    // Referrers that contain one of these texts are not counted.
    std::vector<std::string> referrerFilters;
    // Pages are counted as full addresses on this site.
    std::string webSite;
    // The last year a time stamp is read with: the run's year + 1.
    int latestYear = 0;
    // When set, only the lines of these days are counted; lines without a
    // readable time stamp are then counted nowhere.
    std::optional<DayRange> period;
    RobotLines robots = RobotLines::Include;
    // Tells the robots' agents; set unless robots are included.
    const RobotMatcher* robotMatcher = nullptr;
};

// What one block of a log file holds: its lines counted by every selected
// analysis into tables of its own, each in the order its rows were first met
// in the block. Blocks are counted on worker threads and added up in file
// order (PassTotals), so that the totals are what one pass over all the lines
// would give. A block is cleared and used again for the next one.
struct BlockTally {
    // Every line of the block, and of those the ones not in the combined log
    // layout.
    std::size_t readLines = 0;
    std::size_t outsideLayout = 0;
    // The lines of the period (all of them without one), robots' or not.
    std::size_t periodLines = 0;
    // The lines counted: all of them unless the selection leaves some out.
    std::size_t lines = 0;
    // The dates of the block's first and last counted line ("" without one).
    std::string firstDate;
    std::string lastDate;

    // Client addresses, first spelling kept; their counts mean nothing.
    TallyTable visitors;
    // Referrers in lower case, of at least 3 characters, without a filter
    // text.
    TallyTable referrers;
    // Referrers that failed those rules, so that each is judged only once.
    TallyTable refusedReferrers;
    // Requested paths (not yet full addresses).
    TallyTable paths;
    // Browser texts of at least 6 characters.
    TallyTable browsers;
    // The agents of the robots' lines of the period, unless robots are
    // included: without their quotes, counts as hits.
    TallyTable robots;

    // The lines of one day: their number and their client addresses (counts
    // mean nothing).
    struct DayTally {
        std::int32_t day = 0;
        std::int64_t hits = 0;
        TallyTable visitors;
    };
    // Days with a readable time stamp, in the order first met.
    std::vector<DayTally> days;
    HourCounts hours{};
    // Lines without a readable time stamp, and their client addresses.
    std::int64_t undated = 0;
    TallyTable undatedVisitors;

    StatusCounts statuses{};
    // Lines without a status code.
    std::int64_t uncoded = 0;
    // Paths, as for pages, of the requests answered 404 and 5xx.
    TallyTable notFoundPaths;
    TallyTable serverErrorPaths;

    void clear();

    // Counts the lines of bytes, a whole block of one file (see blockLength).
    void count(std::string_view bytes, const PassSelection& selection);

  private:
    // The key a table last counted and its row: the lines of one page view
    // repeat their client, referrer and browser, and a repeat costs a
    // comparison instead of a lookup.
    struct LastKey {
        std::string_view key;
        std::size_t row = kNoRow;
    };
    static constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);
    static constexpr std::size_t kRefused = kNoRow - 1;

    void countLine(std::string_view line, const std::optional<LogTime>& time,
                   const PassSelection& selection);
    // The key's row, its count raised.
    static std::size_t countKey(TallyTable& table, LastKey& last, std::string_view key);
    void countReferrer(std::string_view referrer, const std::vector<std::string>& filters);
    std::size_t referrerRow(std::string_view referrer, const std::vector<std::string>& filters);
    bool countsAsRobotChoiceSays(std::string_view line, const PassSelection& selection);
    void countTime(const std::optional<LogTime>& time, const TallyTable& clients,
                   std::size_t client);
    void addDayVisitor(TallyTable& dayVisitors, std::int32_t day, const TallyTable& clients,
                       std::size_t client);
    DayTally& dayOf(const LogTime& time);
    void countStatus(std::string_view line, const std::string& webSite);

    LastKey lastVisitor_;
    LastKey lastReferrer_;
    LastKey lastPath_;
    LastKey lastBrowser_;
    LastKey lastRobot_;
    // The row in days of the day last counted.
    std::size_t lastDay_ = kNoRow;
    // Where each day of the block is in days.
    std::unordered_map<std::int32_t, std::size_t> dayRows_;
    // The block's clients when visitors are not counted.
    TallyTable blockClients_;
    // By client row: the day its last line was counted on, kUndated for a
    // line without a time, kNoDay before its first.
    static constexpr std::int32_t kNoDay = INT32_MIN;
    static constexpr std::int32_t kUndated = INT32_MIN + 1;
    std::vector<std::int32_t> clientDays_;
    std::string lowered_;
    LogTimeReader timeReader_{0};
    std::optional<RobotVerdicts> robotVerdicts_;
};

} // namespace statvane
