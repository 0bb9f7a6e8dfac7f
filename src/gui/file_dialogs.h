#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace statvane {

// The file dialogs and the folder picker, through the dialog seam. Each
// returns nothing (an empty text or list) when the user cancels.

// Several existing files, starting in folder.
QStringList chooseFilesToOpen(QWidget* parent, const QString& caption, const QString& folder,
                              const QString& filter);

// A file to write, starting from startName; a name typed without a suffix
// gets defaultSuffix.
QString chooseFileToSave(QWidget* parent, const QString& caption, const QString& startName,
                         const QString& filter, const QString& defaultSuffix);

// An existing folder, starting in folder.
QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder);

// A program to start: one existing file, shown either as "Programs" (the
// executable files) or as "All Files".
QString chooseProgram(QWidget* parent, const QString& caption);

} // namespace statvane
