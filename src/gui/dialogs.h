#pragma once

#include "platform/prompt.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace statvane {

// The program's modal dialogs: message boxes, questions, the file dialogs
// and the folder and program pickers. Each belongs to the window of its
// parent, or stands on its own without one. A picker returns nothing (an
// empty text or list) when the user cancels.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // A message box with an OK button.
    virtual void showMessage(QWidget* parent, const QString& caption, const QString& text,
                             MessageIcon icon) = 0;
    // A question with Yes and No buttons and the question icon; true for Yes.
    virtual bool ask(QWidget* parent, const QString& caption, const QString& text) = 0;

    // Several existing files, starting in folder.
    virtual QStringList chooseFilesToOpen(QWidget* parent, const QString& caption,
                                          const QString& folder, const QString& filter) = 0;
    // A file to write, starting from startName; a name typed without a
    // suffix gets defaultSuffix.
    virtual QString chooseFileToSave(QWidget* parent, const QString& caption,
                                     const QString& startName, const QString& filter,
                                     const QString& defaultSuffix) = 0;
    // An existing folder, starting in folder.
    virtual QString chooseFolder(QWidget* parent, const QString& caption,
                                 const QString& folder) = 0;
    // A program to start: one existing file, shown either as "Programs" (the
    // executable files) or as "All Files".
    virtual QString chooseProgram(QWidget* parent, const QString& caption) = 0;
};

} // namespace statvane
