#pragma once

#include <QStringList>

class QTableView;

namespace statvane {

// The widest texts of a count and of a percentage, for the tables' columns.
inline constexpr const char* kWidestCount = "000000";
inline constexpr const char* kWidestPercent = "00.0000000000000";

class FigureTableModel;

// The view of a figure table: a click on a column heading orders the rows by
// that column, and Ctrl+C or "&Copy" in its context menu puts the selected
// row on the clipboard as the report writes it. Given the widest text of
// each column, the columns are as wide as those texts and their headings
// need, and the view no narrower than its columns; without them they are
// those of the results window's other tables.
QTableView* newFigureTableView(const char* name, FigureTableModel* model,
                               const QStringList& widestTexts = {});

} // namespace statvane
