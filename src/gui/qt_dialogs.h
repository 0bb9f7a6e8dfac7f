#pragma once

#include "gui/dialogs.h"

namespace statvane {

// The dialogs as Qt shows them, modal to their parent's window.
class QtDialogs : public Dialogs {
  public:
    void showMessage(QWidget* parent, const QString& caption, const QString& text,
                     MessageIcon icon) override;
    bool ask(QWidget* parent, const QString& caption, const QString& text) override;
    QStringList chooseFilesToOpen(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filter) override;
    QString chooseFileToSave(QWidget* parent, const QString& caption, const QString& startName,
                             const QString& filter, const QString& defaultSuffix) override;
    QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) override;
    QString chooseProgram(QWidget* parent, const QString& caption) override;
};

} // namespace statvane
