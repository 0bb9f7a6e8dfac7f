#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace statvane {

class Dialogs;

// The one save dialog for report files, shared by the properties dialog and
// the results window: titled "Statvane", every file offered, "txt" added to a
// name typed without a suffix, and opening with the name it held after its
// last use from either window.
class ReportSaveDialog {
  public:
    explicit ReportSaveDialog(Dialogs& dialogs) : dialogs_(dialogs) {}

    // The chosen full path, none when the user cancels.
    std::optional<QString> choose(QWidget* parent);
    const QString& fileName() const { return fileName_; }
    // The name the dialog opens with next.
    void setFileName(const QString& fileName) { fileName_ = fileName; }

  private:
    Dialogs& dialogs_;
    QString fileName_;
};

} // namespace statvane
