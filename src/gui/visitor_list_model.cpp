#include "gui/visitor_list_model.h"

#include "gui/display_text.h"
#include "platform/ascii.h"

#include <algorithm>

namespace statvane {
// The run hands the list over already in this order; only another order
// costs a sort.
void VisitorListModel::setVisitors(std::vector<std::string>* visitors) {
    beginResetModel();
    lines_ = visitors;
    if (!std::is_sorted(lines_->begin(), lines_->end(), ascii::lessIgnoringCase))
        std::stable_sort(lines_->begin(), lines_->end(), ascii::lessIgnoringCase);
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
