#include "gui/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QSortFilterProxyModel>

namespace statvane {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// A message box shows the normal cursor even while a command is busy.
class NormalCursor {
  public:
    NormalCursor() : busy_(QApplication::overrideCursor() != nullptr) {
        if (busy_)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalCursor() {
        if (busy_)
            QApplication::restoreOverrideCursor();
    }
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;

  private:
    bool busy_;
};

QString firstOf(const QStringList& paths) {
    return paths.isEmpty() ? QString() : paths.front();
}

QString programsFilter() {
    return QObject::tr("Programs (*)");
}

// Folders are always listed; "Programs" lists only the files we may run.
class ProgramFilter : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void showFor(const QString& nameFilter) {
        programsOnly_ = nameFilter == programsFilter();
        invalidateFilter();
    }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* files = static_cast<const QFileSystemModel*>(sourceModel());
        const QModelIndex entry = files->index(row, 0, parent);
        return !programsOnly_ || files->isDir(entry) ||
               QFileInfo(files->filePath(entry)).isExecutable();
    }

  private:
    bool programsOnly_ = true;
};

} // namespace

void QtDialogs::showMessage(QWidget* parent, const QString& caption, const QString& text,
                            MessageIcon icon) {
    NormalCursor normal;
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtDialogs::ask(QWidget* parent, const QString& caption, const QString& text) {
    NormalCursor normal;
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    return box.exec() == QMessageBox::Yes;
}

QStringList QtDialogs::chooseFilesToOpen(QWidget* parent, const QString& caption,
                                         const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, caption, folder, filter);
}

QString QtDialogs::chooseFileToSave(QWidget* parent, const QString& caption,
                                    const QString& startName, const QString& filter,
                                    const QString& defaultSuffix) {
    QFileDialog dialog(parent, caption, startName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(startName);
    return dialog.exec() == QDialog::Accepted ? firstOf(dialog.selectedFiles()) : QString();
}

QString QtDialogs::chooseFolder(QWidget* parent, const QString& caption, const QString& folder) {
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

QString QtDialogs::chooseProgram(QWidget* parent, const QString& caption) {
    QFileDialog dialog(parent, caption);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    auto* filter = new ProgramFilter(&dialog);
    dialog.setProxyModel(filter);
    dialog.setNameFilters({programsFilter(), QObject::tr("All Files (*)")});
    QObject::connect(&dialog, &QFileDialog::filterSelected, filter, &ProgramFilter::showFor);
    return dialog.exec() == QDialog::Accepted ? firstOf(dialog.selectedFiles()) : QString();
}

} // namespace statvane
