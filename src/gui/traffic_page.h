#pragma once

#include "analysis/traffic_figures.h"

#include <QWidget>
#include <optional>

class QChartView;

namespace statvane {

class FigureTableModel;

// The results window's "Traffic" tab: two tabs of its own, "Days" with the
// chart DayChart beside the table DayTable (Day, Hits, Visitors), and
// "Hours" with HourChart beside HourTable (Hour, Number, Percentage).
class TrafficPage : public QWidget {
    Q_OBJECT
  public:
    explicit TrafficPage(QWidget* parent = nullptr);

    // The figures of a run, or none: empty charts and tables.
    void showFigures(const std::optional<TrafficFigures>& traffic);

  private:
    FigureTableModel* days_;
    FigureTableModel* hours_;
    QChartView* dayChart_;
    QChartView* hourChart_;
};

} // namespace statvane
