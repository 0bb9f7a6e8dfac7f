#include "gui/results_pages.h"

#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace statvane {
namespace {

constexpr int kKeyColumnWidth = 280;
constexpr int kFigureColumnWidth = 150;
// A fifth of a chart tab, in pixels: scaled to the tab's size when shown.
constexpr int kShare = 100;

} // namespace

void addExplainedPage(QTabWidget& tabs, const QString& title, const char* textName,
                      const QString& text, QWidget* control) {
    auto* page = new QWidget(&tabs);
    auto* label = new QLabel(text, page);
    label->setObjectName(textName);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(label);
    layout->addWidget(control, 1);
    tabs.addTab(page, title);
}

void addChartPage(QTabWidget& tabs, const QString& title, QWidget* chart, QWidget* table,
                  Qt::Orientation orientation) {
    auto* splitter = new QSplitter(orientation, &tabs);
    splitter->addWidget(chart);
    splitter->addWidget(table);
    // The chart three fifths of the tab where the table leaves it that much.
    splitter->setSizes({3 * kShare, 2 * kShare});
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setChildrenCollapsible(false);
    tabs.addTab(splitter, title);
}

// Every line has the same height, so that a list of any length costs the
// view only the lines on screen.
QListView* newListView(const char* name, QAbstractItemModel* model) {
    auto* view = new QListView;
    view->setObjectName(name);
    view->setModel(model);
    view->setUniformItemSizes(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return view;
}

QTableView* newTableView(const char* name, QAbstractItemModel* model) {
    auto* view = new QTableView;
    view->setObjectName(name);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setSortingEnabled(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    QHeaderView* header = view->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(0, kKeyColumnWidth);
    header->resizeSection(1, kFigureColumnWidth);
    header->resizeSection(2, kFigureColumnWidth);
    header->setStretchLastSection(true);
    return view;
}

} // namespace statvane
