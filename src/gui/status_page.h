#pragma once

#include "analysis/status_figures.h"

#include <QWidget>
#include <optional>

class QChartView;
class QTabWidget;

namespace statvane {

class FigureTableModel;

// The results window's "Status" tab: three tabs of its own, "Status Codes"
// with the chart ClassChart beside the table CodeTable (Status, Number,
// Percentage), "Pages Not Found" (NotFoundTable) and "Server Errors"
// (ServerErrorTable), both with the columns Web Address, Number and
// Percentage.
class StatusPage : public QWidget {
    Q_OBJECT
  public:
    explicit StatusPage(QWidget* parent = nullptr);

    // The figures of a run, or none: an empty chart and tables.
    void showFigures(const std::optional<StatusFigures>& status);

  private:
    FigureTableModel* addressTable(QTabWidget& tabs, const QString& title, const char* textName,
                                   const QString& text, const char* viewName);

    FigureTableModel* codes_;
    FigureTableModel* notFound_;
    FigureTableModel* serverErrors_;
    QChartView* classChart_;
};

} // namespace statvane
