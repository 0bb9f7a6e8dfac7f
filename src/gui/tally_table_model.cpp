#include "gui/tally_table_model.h"

#include "analysis/figure_text.h"
#include "gui/display_text.h"
#include "output/compare_rows.h"

#include <string>
#include <vector>

namespace statvane {

TallyTableModel::TallyTableModel(QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), headings_(std::move(headings)) {}

void TallyTableModel::setTable(TallyTable* table) {
    beginResetModel();
    table_ = table;
    endResetModel();
}

// A selected row stays selected where the sort puts it: keys are unique, so
// each one finds its row again.
void TallyTableModel::sortByColumn(int column) {
    if (!table_)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::string> keys;
    for (const QModelIndex& kept : before)
        keys.emplace_back(table_->rows()[static_cast<std::size_t>(kept.row())].key());
    sortRows(*table_, column);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(static_cast<int>(*table_->find(keys[static_cast<std::size_t>(i)])),
                       before[i].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

const TallyRow* TallyTableModel::rowAt(int row) const {
    if (!table_ || row < 0 || static_cast<std::size_t>(row) >= table_->size())
        return nullptr;
    return &table_->rows()[static_cast<std::size_t>(row)];
}

int TallyTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ ? 0 : static_cast<int>(table_->size());
}

int TallyTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant TallyTableModel::data(const QModelIndex& index, int role) const {
    const TallyRow* row = rowAt(index.row());
    if (!row)
        return {};
    // A key too long for its column is read whole in its tool tip.
    if (role == Qt::ToolTipRole && index.column() == 0)
        return displayText(row->key());
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return displayText(row->key());
    case 1:
        return QString::fromStdString(figureText(row->count));
    default:
        return QString::fromStdString(table_->percent(static_cast<std::size_t>(index.row())));
    }
}

QVariant TallyTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= headings_.size())
        return {};
    return headings_[section];
}

} // namespace statvane
