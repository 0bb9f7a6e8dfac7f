#pragma once

#include "analysis/tally_table.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace statvane {

// One result table as the results window shows it: key, count and percent,
// in the table's own row order. The rows stay in the result; the model only
// reads them and reorders them when the table is sorted.
class TallyTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    TallyTableModel(QStringList headings, QObject* parent = nullptr);

    // The table shown from now on; none shows no rows.
    void setTable(TallyTable* table);
    // Orders the rows under the sort column "Index" (0 key, 1 and 2 count).
    void sortByColumn(int column);
    const TallyRow* rowAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    QStringList headings_;
    TallyTable* table_ = nullptr;
};

} // namespace statvane
