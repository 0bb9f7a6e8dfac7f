#include "gui/traffic_page.h"

#include "analysis/figure_rows.h"
#include "gui/chart_parts.h"
#include "gui/figure_table_model.h"
#include "gui/figure_table_view.h"
#include "gui/results_pages.h"
#include "gui/traffic_charts.h"

#include <QChart>
#include <QChartView>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace statvane {

TrafficPage::TrafficPage(QWidget* parent) : QWidget(parent) {
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName("TrafficTabs");
    days_ = new FigureTableModel({tr("Day"), tr("Hits"), tr("Visitors")}, KeyOrder::Given, this);
    hours_ =
        new FigureTableModel({tr("Hour"), tr("Number"), tr("Percentage")}, KeyOrder::Given, this);
    dayChart_ = newChartView("DayChart", tabs);
    hourChart_ = newChartView("HourChart", tabs);
    addChartPage(
        *tabs, tr("Days"), dayChart_,
        newFigureTableView("DayTable", days_, {"00/Mmm/0000", kWidestCount, kWidestCount}));
    addChartPage(
        *tabs, tr("Hours"), hourChart_,
        newFigureTableView("HourTable", hours_, {kNoDateRow, kWidestCount, kWidestPercent}));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
}

void TrafficPage::showFigures(const std::optional<TrafficFigures>& traffic) {
    const TrafficFigures none;
    const TrafficFigures& figures = traffic ? *traffic : none;
    days_->setRows(dayRows(figures));
    hours_->setRows(hourRows(figures));
    replaceChart(*dayChart_, dayChart(figures));
    replaceChart(*hourChart_, hourChart(figures));
}

} // namespace statvane
