#include "gui/desktop_fixture.h"
#include "gui/results_window.h"
#include "settings/settings_store.h"

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QMimeData>
#include <QPieSeries>
#include <QPieSlice>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace statvane::test {
namespace {

namespace keys = registry_keys;

// Forty hits: twenty dated over three days (one without a line), twenty
// without a date; the undated row has the most hits and visitors, so that
// only its place keeps it last when sorted by count.
TrafficFigures traffic() {
    TrafficFigures figures;
    figures.days = {{"30/Dec/2026", 8, 3}, {"31/Dec/2026", 0, 0}, {"01/Jan/2027", 12, 5}};
    figures.hours[0] = 4;
    figures.hours[13] = 10;
    figures.hours[23] = 6;
    figures.undated = 20;
    figures.undatedVisitors = 7;
    return figures;
}

// The same forty hits by status code; the lines without a code are the most.
StatusFigures status() {
    StatusFigures figures;
    figures.codes = {{200, 12}, {301, 2}, {404, 4}, {503, 2}};
    figures.uncoded = 20;
    figures.notFound.tally("/wp-login.php", 3);
    figures.notFound.tally("/.env");
    figures.notFound.tally("/Admin");
    figures.serverErrors.tally("/api/orders", 2);
    return figures;
}

AnalysisResult result(bool withTraffic, bool withStatus) {
    AnalysisResult made;
    made.hits = 40;
    if (withTraffic)
        made.traffic = traffic();
    if (withStatus)
        made.status = status();
    made.computePercentages();
    return made;
}

class ResultsFiguresTest : public DesktopFixture {
  protected:
    TForm5& window() { return desktop().resultsWindow(); }
    QWidget& windowUnderTest() override { return window(); }
    QTableView* table(const char* name) { return control<QTableView>(window(), name); }

    QStringList visibleTabs() {
        auto* tabs = control<QTabWidget>(window(), "PageControl1");
        QStringList titles;
        for (int tab = 0; tab < tabs->count(); ++tab)
            if (tabs->isTabVisible(tab))
                titles << tabs->tabText(tab);
        return titles;
    }
    // Each row's cells joined by commas.
    QStringList rows(const char* view) {
        QAbstractItemModel* model = table(view)->model();
        QStringList lines;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells << model->index(row, column).data().toString();
            lines << cells.join(',');
        }
        return lines;
    }
    QStringList keys(const char* view) {
        QStringList firsts;
        for (const QString& row : rows(view))
            firsts << row.section(',', 0, 0);
        return firsts;
    }
    // The view's tab and sub-tab in front, laid out, for clicks.
    void bringForward(const char* view) {
        for (QWidget* at = table(view); at->parentWidget(); at = at->parentWidget())
            if (auto* tabs = qobject_cast<QTabWidget*>(at->parentWidget()->parentWidget()))
                tabs->setCurrentWidget(at);
        QCoreApplication::processEvents();
    }
    void clickHeader(const char* view, int section) {
        bringForward(view);
        QHeaderView* header = table(view)->horizontalHeader();
        const QPoint place(header->sectionViewportPosition(section) +
                               header->sectionSize(section) / 2,
                           header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, place);
    }
    std::string copied(const char* view, int row) {
        bringForward(view);
        table(view)->selectRow(row);
        pressKey(table(view), Qt::Key_C, Qt::ControlModifier);
        return QApplication::clipboard()->mimeData()->data("text/plain").toStdString();
    }
    QChart* chart(const char* name) { return control<QChartView>(window(), name)->chart(); }
};

// The tabs are there only for a result with their figures; "&Ok" removes
// them with the result.
TEST_F(ResultsFiguresTest, TheTrafficAndStatusTabsShowOnlyForAResultWithTheirFigures) {
    start();
    const QStringList listTabs = {"Overview", "Visitors List", "Referrer List", "Top Pages",
                                  "Browser List"};
    EXPECT_EQ(visibleTabs(), listTabs);
    const struct {
        bool traffic;
        bool status;
        QStringList added;
    } cases[] = {{true, false, {"Traffic"}},
                 {false, true, {"Status"}},
                 {true, true, {"Traffic", "Status"}},
                 {false, false, {}}};
    for (const auto& shown : cases) {
        window().showResult(result(shown.traffic, shown.status));
        EXPECT_EQ(visibleTabs(), listTabs + shown.added) << shown.added.join(' ').toStdString();
    }
    window().showResult(result(true, true));
    press("Button1");
    EXPECT_EQ(visibleTabs(), listTabs);
}

TEST_F(ResultsFiguresTest, TheTablesShowTheirRowsWithTheUndatedAndUncodedRowsLast) {
    start();
    window().showResult(result(true, true));
    EXPECT_EQ(rows("DayTable"), QStringList({"30/Dec/2026,8,3", "31/Dec/2026,0,0",
                                             "01/Jan/2027,12,5", "(no date),20,7"}));
    const QStringList hours = rows("HourTable");
    ASSERT_EQ(hours.size(), 25);
    EXPECT_EQ(hours[0], "00,4,10");
    EXPECT_EQ(hours[1], "01,0,0");
    EXPECT_EQ(hours[13], "13,10,25");
    EXPECT_EQ(hours[23], "23,6,15");
    EXPECT_EQ(hours[24], "(no date),20,50");
    EXPECT_EQ(rows("CodeTable"),
              QStringList({"200,12,30", "301,2,5", "404,4,10", "503,2,5", "(none),20,50"}));
    EXPECT_EQ(rows("NotFoundTable"),
              QStringList({"/wp-login.php,3,60", "/.env,1,20", "/Admin,1,20"}));
    EXPECT_EQ(rows("ServerErrorTable"), QStringList({"/api/orders,2,100"}));
    const QStringList headings[] = {{"Day", "Hits", "Visitors"},
                                    {"Hour", "Number", "Percentage"},
                                    {"Status", "Number", "Percentage"},
                                    {"Web Address", "Number", "Percentage"}};
    const char* const views[] = {"DayTable", "HourTable", "CodeTable", "NotFoundTable"};
    for (int view = 0; view < 4; ++view)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(table(views[view])->model()->headerData(column, Qt::Horizontal).toString(),
                      headings[view][column]);

    // Without dated lines or codes only the rows of the undated and uncoded remain.
    AnalysisResult undated;
    undated.traffic = TrafficFigures{{}, {}, 5, 2};
    undated.status = StatusFigures{{}, 5, {}, {}};
    window().showResult(std::move(undated));
    EXPECT_EQ(rows("DayTable"), QStringList({"(no date),5,2"}));
    EXPECT_EQ(rows("HourTable").last(), "(no date),5,100");
    EXPECT_EQ(rows("CodeTable"), QStringList({"(none),5,100"}));
}

// A heading click orders its table (no toggling), the undated and uncoded
// rows stay last, the selection follows its row, and neither the sort value
// "Index" nor the result's own order changes.
TEST_F(ResultsFiguresTest, AHeadingClickOrdersItsTableAndLeavesTheSortIndexAlone) {
    start();
    Registry registry(settingsFile());
    SettingsStore(registry).writeSortIndex(2);
    window().showResult(result(true, true));
    const QStringList calendar = {"30/Dec/2026", "31/Dec/2026", "01/Jan/2027", "(no date)"};
    const QStringList numeric = {"200", "301", "404", "503", "(none)"};
    const QStringList byCount = {"/wp-login.php", "/.env", "/Admin"};
    const struct {
        const char* view;
        int section;
        QStringList keys;
    } clicks[] = {
        {"DayTable", 1, {"01/Jan/2027", "30/Dec/2026", "31/Dec/2026", "(no date)"}},
        {"DayTable", 2, {"01/Jan/2027", "30/Dec/2026", "31/Dec/2026", "(no date)"}},
        {"DayTable", 0, calendar},
        {"DayTable", 0, calendar},
        {"CodeTable", 2, {"200", "404", "301", "503", "(none)"}},
        {"CodeTable", 0, numeric},
        {"NotFoundTable", 0, {"/.env", "/Admin", "/wp-login.php"}},
        {"NotFoundTable", 1, byCount},
        {"NotFoundTable", 2, byCount},
    };
    for (const auto& click : clicks) {
        clickHeader(click.view, click.section);
        EXPECT_EQ(keys(click.view), click.keys) << click.view << " " << click.section;
    }

    clickHeader("HourTable", 1);
    const QStringList hours = keys("HourTable");
    EXPECT_EQ(hours.mid(0, 4), QStringList({"13", "23", "00", "01"}));
    EXPECT_EQ(hours.last(), "(no date)");
    clickHeader("HourTable", 0);
    EXPECT_EQ(keys("HourTable").mid(0, 3), QStringList({"00", "01", "02"}));

    table("CodeTable")->selectRow(2);
    clickHeader("CodeTable", 1);
    const QModelIndexList selected = table("CodeTable")->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].data().toString(), "404");

    EXPECT_EQ(storedInteger(keys::kProduct, "Index"), 2);
    EXPECT_EQ(window().result().status->notFound.rows()[0].key(), "/wp-login.php");
    EXPECT_EQ(window().result().status->notFound.rows()[1].key(), "/.env");
}

// Ctrl+C puts the selected row on the clipboard as the report writes it.
TEST_F(ResultsFiguresTest, CtrlCCopiesTheSelectedRow) {
    start();
    window().showResult(result(true, true));
    EXPECT_EQ(copied("DayTable", 0), "30/Dec/2026,8,3");
    EXPECT_EQ(copied("HourTable", 24), "(no date),20,50");
    EXPECT_EQ(copied("CodeTable", 4), "(none),20,50");
    clickHeader("NotFoundTable", 0);
    EXPECT_EQ(copied("NotFoundTable", 0), "/.env,1,20");
    EXPECT_EQ(copied("ServerErrorTable", 0), "/api/orders,2,100");
}

// Forty lines of the period, fifteen of them robots', in first-seen order.
AnalysisResult robotsResult() {
    AnalysisResult made = result(false, false);
    made.browsers.tally("Firefox", 25);
    made.robots.emplace();
    made.robots->tally("bingbot/2.0", 5);
    made.robots->tally("Googlebot/2.1", 9);
    made.robots->tally("GPTBot/1.0", 1);
    made.computePercentages();
    made.robots->computePercentagesOf(40);
    return made;
}

// Below the browsers, only for a result with robots: their agents, highest
// count first; a heading click orders this view only, and Ctrl+C copies a
// row as the report writes it.
TEST_F(ResultsFiguresTest, TheRobotsShowBelowTheBrowsersOnlyForAResultWithThem) {
    start();
    Registry registry(settingsFile());
    SettingsStore(registry).writeSortIndex(2);
    const auto robotsShown = [this] {
        bringForward("ListView3");
        const bool table = this->table("RobotsTable")->isVisibleTo(&window());
        EXPECT_EQ(control<QLabel>(window(), "RobotsLabel")->isVisibleTo(&window()), table);
        return table;
    };
    window().showResult(result(true, true));
    EXPECT_FALSE(robotsShown());

    window().showResult(robotsResult());
    EXPECT_TRUE(robotsShown());
    EXPECT_EQ(control<QLabel>(window(), "RobotsLabel")->text(), "Robots (by their agent text):");
    EXPECT_EQ(rows("RobotsTable"),
              QStringList({"Googlebot/2.1,9,22.5", "bingbot/2.0,5,12.5", "GPTBot/1.0,1,2.5"}));
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(table("RobotsTable")->model()->headerData(column, Qt::Horizontal).toString(),
                  QStringList({"Robot", "Number", "Percentage"})[column]);
    EXPECT_EQ(keys("ListView3"), QStringList{"Firefox"});
    EXPECT_EQ(copied("RobotsTable", 1), "bingbot/2.0,5,12.5");

    clickHeader("RobotsTable", 0);
    EXPECT_EQ(keys("RobotsTable"), QStringList({"GPTBot/1.0", "Googlebot/2.1", "bingbot/2.0"}));
    EXPECT_EQ(storedInteger(keys::kProduct, "Index"), 2);
    EXPECT_EQ(window().result().robots->rows()[0].key(), "bingbot/2.0");

    press("Button1");
    EXPECT_FALSE(robotsShown());
    window().showResult(result(true, true));
    EXPECT_FALSE(robotsShown());
}

// The charts: hits and visitors per day over the same days, hits by hour,
// the status classes; a hovered bar tells its day; many days get few labels.
TEST_F(ResultsFiguresTest, TheChartsShowTheFiguresAndStayReadableWithManyDays) {
    start();
    window().showResult(result(true, true));
    QChart* days = chart("DayChart");
    ASSERT_EQ(days->series().size(), 2);
    QBarSet* hits = static_cast<QBarSeries*>(days->series()[0])->barSets().front();
    EXPECT_EQ(hits->count(), 3);
    EXPECT_EQ(hits->at(2), 12);
    const QList<QPointF> visitors = static_cast<QLineSeries*>(days->series()[1])->points();
    EXPECT_EQ(visitors, QList<QPointF>({{0, 3}, {1, 0}, {2, 5}}));
    emit hits->hovered(true, 2);
    EXPECT_EQ(QToolTip::text(), "01/Jan/2027\nHits: 12\nVisitors: 5");
    emit hits->hovered(false, 2);

    QBarSet* byHour =
        static_cast<QBarSeries*>(chart("HourChart")->series().front())->barSets().front();
    EXPECT_EQ(byHour->count(), 24);
    EXPECT_EQ(byHour->at(13), 10);

    QStringList slices;
    for (QPieSlice* slice :
         static_cast<QPieSeries*>(chart("ClassChart")->series().front())->slices())
        slices << slice->label();
    EXPECT_EQ(slices,
              QStringList({"2xx (30%)", "3xx (5%)", "4xx (10%)", "5xx (5%)", "(none) (50%)"}));

    // 400 days of thirty-day months: four labels, a hundred days apart, by
    // month, since over a year each day's own label would repeat.
    const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    AnalysisResult longer;
    longer.traffic.emplace();
    for (int day = 0; day < 400; ++day)
        longer.traffic->days.push_back({std::to_string(10 + day % 30) + "/" +
                                            months[day / 30 % 12] + "/" +
                                            std::to_string(2026 + day / 360),
                                        day, 1});
    window().showResult(std::move(longer));
    auto* axis = static_cast<QCategoryAxis*>(chart("DayChart")->axes(Qt::Horizontal).front());
    EXPECT_EQ(axis->categoriesLabels(),
              QStringList({"Jan/2026", "Apr/2026", "Jul/2026", "Nov/2026"}));
    window().showResult(result(true, true));
    axis = static_cast<QCategoryAxis*>(chart("DayChart")->axes(Qt::Horizontal).front());
    EXPECT_EQ(axis->categoriesLabels(), QStringList({"30/Dec", "31/Dec", "01/Jan"}));
}

} // namespace
} // namespace statvane::test
