#include "gui/visitor_list_model.h"

#include "gui/display_text.h"

namespace statvane {

void VisitorListModel::setVisitors(std::vector<std::string>* visitors) {
    beginResetModel();
    lines_ = visitors;
    endResetModel();
}

void VisitorListModel::clear() {
    beginResetModel();
    if (lines_)
        lines_->clear();
    endResetModel();
}

void VisitorListModel::replace(int row, std::string line) {
    (*lines_)[static_cast<std::size_t>(row)] = std::move(line);
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

int VisitorListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !lines_ ? 0 : static_cast<int>(lines_->size());
}

QVariant VisitorListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return displayText(line(index.row()));
}

} // namespace statvane
