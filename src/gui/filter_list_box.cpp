#include "gui/filter_list_box.h"

#include "gui/loaded_text.h"
#include "platform/prompt.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>

namespace statvane {
namespace {

QListWidgetItem* newEntry(QListWidget* list, const std::string& bytes) {
    auto* item = new QListWidgetItem;
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    setLoadedText(*item, bytes);
    list->addItem(item);
    return item;
}

} // namespace

FilterListBox::FilterListBox(const QString& caption, const QString& prefix,
                             std::vector<std::string>& entries, Prompt& prompt, QWidget* parent)
    : QWidget(parent), entries_(entries), prompt_(prompt) {
    setObjectName(prefix + "Box");
    List = new QListWidget(this);
    List->setObjectName(prefix + "List");
    List->setViewMode(QListView::ListMode);
    List->setFlow(QListView::TopToBottom);
    List->setWrapping(true);
    List->setResizeMode(QListView::Adjust);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                          QAbstractItemView::EditKeyPressed);
    List->viewport()->installEventFilter(this);
    connect(List, &QListWidget::itemChanged, this, &FilterListBox::ListItemChanged);
    auto* deleteKey =
        new QShortcut(QKeySequence::Delete, List, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &FilterListBox::DeleteButtonClick);

    auto* label = new QLabel(caption, this);
    label->setObjectName(prefix + "Label");
    label->setBuddy(List);
    AddButton = new QPushButton(tr("&Add"), this);
    AddButton->setObjectName(prefix + "AddButton");
    DeleteButton = new QPushButton(tr("&Delete"), this);
    DeleteButton->setObjectName(prefix + "DeleteButton");
    DeleteButton->setEnabled(false);
    connect(AddButton, &QPushButton::clicked, this, &FilterListBox::AddButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &FilterListBox::DeleteButtonClick);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(List, 1, 0, 3, 1);
    layout->addWidget(AddButton, 1, 1);
    layout->addWidget(DeleteButton, 2, 1);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 1);
}

void FilterListBox::loadEntries() {
    const QSignalBlocker quiet(List);
    List->clear();
    for (const std::string& entry : entries_)
        newEntry(List, entry);
}

// A press anywhere in the list, on an entry or not.
bool FilterListBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List->viewport() && event->type() == QEvent::MouseButtonPress)
        ListClick();
    return QWidget::eventFilter(watched, event);
}

void FilterListBox::ListClick() {
    DeleteButton->setEnabled(true);
}

// An edited entry takes the text as typed; one whose text is unchanged keeps
// the bytes it was loaded with.
void FilterListBox::ListItemChanged() {
    storeEntries();
}

void FilterListBox::AddButtonClick() {
    QListWidgetItem* item = newEntry(List, tr(kNewAddressText).toStdString());
    storeEntries();
    List->scrollToItem(item);
    List->setFocus();
    List->setCurrentItem(item);
    List->editItem(item);
}

void FilterListBox::DeleteButtonClick() {
    const QList<QListWidgetItem*> selected = List->selectedItems();
    if (selected.isEmpty())
        return;
    if (prompt_.ask(tr(kDeleteAddressQuestion).toStdString())) {
        delete selected.front();
        storeEntries();
    }
    DeleteButton->setEnabled(false);
}

void FilterListBox::storeEntries() {
    entries_.clear();
    for (int row = 0; row < List->count(); ++row)
        entries_.push_back(textBytes(*List->item(row)));
}

} // namespace statvane
