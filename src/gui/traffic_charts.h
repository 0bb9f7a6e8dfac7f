#pragma once

class QChart;

namespace statvane {

struct TrafficFigures;

// Hits per day as bars with the visitors per day as a line over the same
// days; hovering a bar tells its day and figures.
QChart* dayChart(const TrafficFigures& traffic);
// Hits by hour of the day, all days together.
QChart* hourChart(const TrafficFigures& traffic);

} // namespace statvane
