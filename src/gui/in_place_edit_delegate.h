#pragma once

#include <QStyledItemDelegate>

namespace statvane {

// The item delegate of a list whose labels are edited in place: it tells
// when an editor opens and when it closes, so that a dialog can stop Enter
// from reaching its default button while a label is being edited.
class InPlaceEditDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit InPlaceEditDelegate(QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

  signals:
    void editingStarted() const;
    void editingEnded();
};

} // namespace statvane
