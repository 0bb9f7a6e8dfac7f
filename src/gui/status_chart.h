#pragma once

class QChart;

namespace statvane {

struct StatusFigures;

// A donut of the status classes (1xx to 5xx, and lines without a code), each
// with its share of all hits; hovering a slice tells its figures.
QChart* classChart(const StatusFigures& status);

} // namespace statvane
