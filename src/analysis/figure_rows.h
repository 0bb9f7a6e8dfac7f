#pragma once

#include "analysis/status_figures.h"
#include "analysis/tally_table.h"
#include "analysis/traffic_figures.h"

#include <cstdint>
#include <string>
#include <vector>

namespace statvane {

// One row of a figure table: its key (bytes) and the texts of the further
// columns, each with the count that column sorts by.
struct FigureRow {
    std::string key;
    std::vector<std::string> figures;
    std::vector<std::int64_t> counts;
    // A row for what has no key of its own ("(no date)", "(none)"): it stays
    // last in every order.
    bool last = false;
};

// The rows of the traffic and status tables as the report and the results
// window show them, each in its given order, the row of lines without a date
// or a code last when there are any.

// Day, Hits, Visitors.
std::vector<FigureRow> dayRows(const TrafficFigures& traffic);
// Hour ("00" to "23"), Number, Percentage of all hits.
std::vector<FigureRow> hourRows(const TrafficFigures& traffic);
// Status, Number, Percentage of all hits.
std::vector<FigureRow> codeRows(const StatusFigures& status);
// Web Address, Number, Percentage, highest count first.
std::vector<FigureRow> addressRows(const TallyTable& table);

} // namespace statvane
