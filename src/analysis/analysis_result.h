#pragma once

#include "analysis/status_figures.h"
#include "analysis/tally_table.h"
#include "analysis/traffic_figures.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace statvane {

// The figures and lists of one analysis run, read by every output. An absent
// optional figure is "Not Selected".
struct AnalysisResult {
    std::int32_t logFileCount = 0;
    std::int32_t hits = 0;
    std::int32_t hitsAverage = 0;

    std::vector<std::string> visitors;
    std::optional<std::int32_t> uniqueVisitors;
    std::optional<std::int32_t> visitorsAverage;

    TallyTable referrers;
    std::optional<std::int32_t> referralSites;
    std::optional<std::int32_t> referralSitesAverage;

    TallyTable topPages;

    // The six byte figures are present or absent together.
    std::optional<double> bytesTotal;
    std::optional<double> bytesAverage;
    std::optional<double> kilobytesTotal;
    std::optional<double> kilobytesAverage;
    std::optional<double> megabytesTotal;
    std::optional<double> megabytesAverage;

    TallyTable browsers;

    // The robots' agents, with their share of the lines of the period;
    // present unless robots count as any other line.
    std::optional<TallyTable> robots;

    // Present only when the report selects them.
    std::optional<TrafficFigures> traffic;
    std::optional<StatusFigures> status;

    std::string firstDate;
    std::string lastDate;

    void reset() { *this = AnalysisResult(); }

    // Sets the six byte figures from a total and the number of log files.
    void setBytes(double total);

    // Each row's share of its own table's count, for the tables of rows.
    void computePercentages();

    // "Report Profile - <firstDate> to <lastDate>".
    std::string title() const;
};

} // namespace statvane
