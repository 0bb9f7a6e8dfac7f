#pragma once

#include <QString>

class QTableView;

namespace statvane {

class FigureTableModel;

// The view of a figure table: a click on a column heading orders the rows by
// that column, and Ctrl+C or "&Copy" in its context menu puts the selected
// row on the clipboard as the report writes it. With a widest key, the
// columns are as wide as that key and the headings need; without one they
// are those of the results window's other tables.
QTableView* newFigureTableView(const char* name, FigureTableModel* model,
                               const QString& widestKey = {});

} // namespace statvane
