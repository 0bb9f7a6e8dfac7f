#include "gui/figure_table_view.h"

#include "gui/clipboard_copy.h"
#include "gui/figure_table_model.h"
#include "gui/results_pages.h"

#include <QAction>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>

namespace statvane {
namespace {

constexpr int kCellMargin = 24;

void fitColumns(QTableView& view, const QStringList& widestTexts) {
    const QFontMetrics metrics = view.fontMetrics();
    QHeaderView* header = view.horizontalHeader();
    for (int column = 0; column < widestTexts.size(); ++column) {
        const QString heading = view.model()->headerData(column, Qt::Horizontal).toString();
        header->resizeSection(column, std::max(metrics.horizontalAdvance(widestTexts[column]),
                                               metrics.horizontalAdvance(heading)) +
                                          kCellMargin);
    }
    view.setMinimumWidth(header->length() + view.verticalScrollBar()->sizeHint().width() +
                         2 * view.frameWidth());
}

void addCopyAction(QTableView* view, FigureTableModel* model) {
    auto* copy = new QAction(QObject::tr("&Copy"), view);
    copy->setObjectName(view->objectName() + "Copy");
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copy->setShortcutContext(Qt::WidgetShortcut);
    view->addAction(copy);
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
    new CopyKeyFilter(copy, view);
    QObject::connect(copy, &QAction::triggered, view, [view, model] {
        const QModelIndexList selected = view->selectionModel()->selectedRows();
        if (!selected.isEmpty())
            copyToClipboard(model->rowLine(selected.front().row()));
    });
}

} // namespace

QTableView* newFigureTableView(const char* name, FigureTableModel* model,
                               const QStringList& widestTexts) {
    QTableView* view = newTableView(name, model);
    if (!widestTexts.isEmpty())
        fitColumns(*view, widestTexts);
    QObject::connect(view->horizontalHeader(), &QHeaderView::sectionClicked, model,
                     &FigureTableModel::sortByColumn);
    addCopyAction(view, model);
    return view;
}

} // namespace statvane
