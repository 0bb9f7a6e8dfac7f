#include "gui/file_dialogs.h"

#include "gui/dialog_script.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>

namespace statvane {
namespace {

QStringList recorded(DialogScript& script, ShownDialog::Kind kind, const QString& caption,
                     const QString& start) {
    return script.recordFileDialog({kind, caption, start, MessageIcon::Information});
}

QString firstOf(const QStringList& paths) {
    return paths.isEmpty() ? QString() : paths.front();
}

constexpr const char* kProgramsFilter = "Programs (*)";
constexpr const char* kAllFilesFilter = "All Files (*)";

// Folders are always listed; "Programs" lists only the files we may run.
class ProgramFilter : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void showFor(const QString& nameFilter) {
        programsOnly_ = nameFilter == kProgramsFilter;
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

QStringList chooseFilesToOpen(QWidget* parent, const QString& caption, const QString& folder,
                              const QString& filter) {
    if (auto* script = DialogScript::active())
        return recorded(*script, ShownDialog::Kind::OpenFiles, caption, folder);
    return QFileDialog::getOpenFileNames(parent, caption, folder, filter);
}

QString chooseFileToSave(QWidget* parent, const QString& caption, const QString& startName,
                         const QString& filter, const QString& defaultSuffix) {
    if (auto* script = DialogScript::active())
        return firstOf(recorded(*script, ShownDialog::Kind::SaveFile, caption, startName));
    QFileDialog dialog(parent, caption, startName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(startName);
    return dialog.exec() == QDialog::Accepted ? firstOf(dialog.selectedFiles()) : QString();
}

QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) {
    if (auto* script = DialogScript::active())
        return firstOf(recorded(*script, ShownDialog::Kind::Folder, caption, folder));
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

QString chooseProgram(QWidget* parent, const QString& caption) {
    if (auto* script = DialogScript::active())
        return firstOf(recorded(*script, ShownDialog::Kind::Program, caption, QString()));
    QFileDialog dialog(parent, caption);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    auto* filter = new ProgramFilter(&dialog);
    dialog.setProxyModel(filter);
    dialog.setNameFilters({kProgramsFilter, kAllFilesFilter});
    QObject::connect(&dialog, &QFileDialog::filterSelected, filter, &ProgramFilter::showFor);
    return dialog.exec() == QDialog::Accepted ? firstOf(dialog.selectedFiles()) : QString();
}

} // namespace statvane
