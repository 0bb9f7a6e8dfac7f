#include "gui/status_page.h"

#include "analysis/figure_rows.h"
#include "gui/chart_parts.h"
#include "gui/figure_table_model.h"
#include "gui/figure_table_view.h"
#include "gui/results_pages.h"
#include "gui/status_chart.h"

#include <QChart>
#include <QChartView>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace statvane {

StatusPage::StatusPage(QWidget* parent) : QWidget(parent) {
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName("StatusTabs");
    codes_ =
        new FigureTableModel({tr("Status"), tr("Number"), tr("Percentage")}, KeyOrder::Given, this);
    classChart_ = newChartView("ClassChart", tabs);
    addChartPage(
        *tabs, tr("Status Codes"), classChart_,
        newFigureTableView("CodeTable", codes_, {kNoCodeRow, kWidestCount, kWidestPercent}),
        Qt::Vertical);
    notFound_ = addressTable(*tabs, tr("Pages Not Found"), "NotFoundText",
                             tr("These are the pages that were asked for but not found (status "
                                "404), with how often each was asked for."),
                             "NotFoundTable");
    serverErrors_ = addressTable(*tabs, tr("Server Errors"), "ServerErrorText",
                                 tr("These are the pages whose requests failed with a server "
                                    "error (status 500 to 599), with how often each failed."),
                                 "ServerErrorTable");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
}

FigureTableModel* StatusPage::addressTable(QTabWidget& tabs, const QString& title,
                                           const char* textName, const QString& text,
                                           const char* viewName) {
    auto* model = new FigureTableModel({tr("Web Address"), tr("Number"), tr("Percentage")},
                                       KeyOrder::Bytes, this);
    addExplainedPage(tabs, title, textName, text, newFigureTableView(viewName, model));
    return model;
}

void StatusPage::showFigures(const std::optional<StatusFigures>& status) {
    const StatusFigures none;
    const StatusFigures& figures = status ? *status : none;
    codes_->setRows(codeRows(figures));
    notFound_->setRows(addressRows(figures.notFound));
    serverErrors_->setRows(addressRows(figures.serverErrors));
    replaceChart(*classChart_, classChart(figures));
}

} // namespace statvane
