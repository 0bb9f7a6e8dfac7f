#pragma once

#include "analysis/status_figures.h"
#include "analysis/tally_table.h"
#include "analysis/traffic_figures.h"
#include "gui/figure_table_model.h"

#include <string>
#include <vector>

namespace statvane {

// The rows of the traffic and status tables as the results window shows
// them, each in its given order, the row of lines without a date or a code
// last when there are any.

// The keys of the rows of lines without a date and without a status code.
inline constexpr const char* kNoDateRow = "(no date)";
inline constexpr const char* kNoCodeRow = "(none)";

// The widest texts of a count and of a percentage, for the tables' columns.
inline constexpr const char* kWidestCount = "000000";
inline constexpr const char* kWidestPercent = "00.0000000000000";

// An hour of the day as the tables write it: "00" to "23".
std::string hourText(std::size_t hour);

// Day, Hits, Visitors.
std::vector<FigureRow> dayRows(const TrafficFigures& traffic);
// Hour ("00" to "23"), Number, Percentage of all hits.
std::vector<FigureRow> hourRows(const TrafficFigures& traffic);
// Status, Number, Percentage of all hits.
std::vector<FigureRow> codeRows(const StatusFigures& status);
// Web Address, Number, Percentage, highest count first.
std::vector<FigureRow> addressRows(const TallyTable& table);

} // namespace statvane
