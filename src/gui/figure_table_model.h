#pragma once

#include "analysis/figure_rows.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

namespace statvane {

// How a click on the first column orders the rows.
enum class KeyOrder {
    // The order the rows were given in: days and hours by the calendar,
    // codes by number.
    Given,
    // By the key's bytes, unsigned, letter case significant.
    Bytes,
};

// A table of the results window that holds its own rows, so that ordering
// them leaves the result as the run left it. A click on a column orders it:
// the first by its key order, the others by their counts, highest first,
// equal rows keeping their given order. There is no toggling.
class FigureTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    FigureTableModel(QStringList headings, KeyOrder keyOrder, QObject* parent = nullptr);

    // The rows shown from now on, in their given order.
    void setRows(std::vector<FigureRow> rows);
    void sortByColumn(int column);
    // The row as the text report writes it: its cells joined by commas.
    std::string rowLine(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const FigureRow& shown(int row) const;
    bool before(int column, std::size_t a, std::size_t b) const;

    QStringList headings_;
    KeyOrder keyOrder_;
    std::vector<FigureRow> rows_;
    // The given row shown at each place.
    std::vector<std::size_t> order_;
};

} // namespace statvane
