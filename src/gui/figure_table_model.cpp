#include "gui/figure_table_model.h"

#include "gui/display_text.h"

#include <algorithm>
#include <numeric>

namespace statvane {

FigureTableModel::FigureTableModel(QStringList headings, KeyOrder keyOrder, QObject* parent)
    : QAbstractTableModel(parent), headings_(std::move(headings)), keyOrder_(keyOrder) {}

void FigureTableModel::setRows(std::vector<FigureRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    order_.resize(rows_.size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    endResetModel();
}

bool FigureTableModel::before(int column, std::size_t a, std::size_t b) const {
    const FigureRow& first = rows_[a];
    const FigureRow& second = rows_[b];
    if (first.last != second.last)
        return second.last;
    if (column > 0) {
        const auto figure = static_cast<std::size_t>(column - 1);
        return first.counts[figure] > second.counts[figure];
    }
    return keyOrder_ == KeyOrder::Bytes ? first.key < second.key : a < b;
}

// A selected row stays selected where the sort puts it.
void FigureTableModel::sortByColumn(int column) {
    if (column < 0 || column >= headings_.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> given;
    for (const QModelIndex& kept : before)
        given.push_back(order_[static_cast<std::size_t>(kept.row())]);
    std::stable_sort(order_.begin(), order_.end(),
                     [&](std::size_t a, std::size_t b) { return this->before(column, a, b); });
    std::vector<int> place(order_.size());
    for (std::size_t at = 0; at < order_.size(); ++at)
        place[order_[at]] = static_cast<int>(at);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(place[given[static_cast<std::size_t>(i)]], before[i].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

const FigureRow& FigureTableModel::shown(int row) const {
    return rows_[order_[static_cast<std::size_t>(row)]];
}

std::string FigureTableModel::rowLine(int row) const {
    const FigureRow& figures = shown(row);
    std::string line = figures.key;
    for (const std::string& figure : figures.figures)
        line += "," + figure;
    return line;
}

int FigureTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FigureTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant FigureTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const FigureRow& row = shown(index.row());
    // A key too long for its column is read whole in its tool tip.
    if (role == Qt::ToolTipRole && index.column() == 0)
        return displayText(row.key);
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == 0)
        return displayText(row.key);
    return QString::fromStdString(row.figures[static_cast<std::size_t>(index.column() - 1)]);
}

QVariant FigureTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= headings_.size())
        return {};
    return headings_[section];
}

} // namespace statvane
