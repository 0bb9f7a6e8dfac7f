#pragma once

#include <QString>
#include <QStringList>

class QAbstractAxis;
class QChart;
class QChartView;
class QWidget;

namespace statvane {

// What the charts of the results window share.

// An empty chart view, antialiased, named for tests.
QChartView* newChartView(const char* name, QWidget* parent);
// Shows the chart in the view, which owns it from now on; the chart shown
// before is deleted.
void replaceChart(QChartView& view, QChart* chart);
// A chart of the window's style: title, no animation, a compact margin.
QChart* newChart(const QString& title);
// The axis under a bar chart of one bar per label: at most maxLabels of the
// labels are written, evenly spread, so that hundreds of bars stay readable.
QAbstractAxis* barLabelAxis(const QStringList& labels, int maxLabels);
// The tool tip of a bar or slice under the mouse: shown while hovered.
void showHoverTip(bool hovered, const QString& text);

} // namespace statvane
