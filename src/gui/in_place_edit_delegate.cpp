#include "gui/in_place_edit_delegate.h"

namespace statvane {

InPlaceEditDelegate::InPlaceEditDelegate(QObject* parent) : QStyledItemDelegate(parent) {
    connect(this, &QAbstractItemDelegate::closeEditor, this, &InPlaceEditDelegate::editingEnded);
}

QWidget* InPlaceEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    emit editingStarted();
    return editor;
}

} // namespace statvane
