#pragma once

#include <QString>

class QAbstractItemModel;
class QListView;
class QTabWidget;
class QTableView;
class QWidget;

namespace statvane {

// A tab of the results window: its explanatory text (named textName) above
// the control that shows the list.
void addExplainedPage(QTabWidget& tabs, const QString& title, const char* textName,
                      const QString& text, QWidget* control);

// A tab of a chart with its table beside it (Qt::Horizontal) or below it,
// the border between them movable.
void addChartPage(QTabWidget& tabs, const QString& title, QWidget* chart, QWidget* table,
                  Qt::Orientation orientation = Qt::Horizontal);

// The views of the results window's lists, one line per row, never sorted by
// the view itself: the window orders the rows.
QListView* newListView(const char* name, QAbstractItemModel* model);
QTableView* newTableView(const char* name, QAbstractItemModel* model);

} // namespace statvane
