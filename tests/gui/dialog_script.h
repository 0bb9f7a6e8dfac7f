#pragma once

#include "gui/dialogs.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace statvane {

// A message box, question or file dialog as it was asked for.
struct ShownDialog {
    enum class Kind { Message, Question, OpenFiles, SaveFile, Folder, Program };
    Kind kind = Kind::Message;
    QString caption;
    // The message text, or a file dialog's starting folder or name.
    QString text;
    MessageIcon icon = MessageIcon::Information;
    // The window a message box or question belongs to, none for a box of
    // its own.
    const QWidget* owner = nullptr;
};

// The dialogs of the windows under test: none appears; each is recorded and
// answered from the script (a question with No, a file dialog with Cancel,
// when no answer is queued).
class DialogScript : public Dialogs {
  public:
    void answerNextQuestion(bool yes) { questionAnswers_.push_back(yes); }
    // The next file dialog or folder picker returns these paths (one for a
    // save dialog, the folder picker or a program); an empty list is Cancel.
    void answerNextFileDialog(const QStringList& paths) { fileAnswers_.push_back(paths); }

    const std::vector<ShownDialog>& shown() const { return shown_; }
    void clearShown() { shown_.clear(); }
    // Called with each dialog as it is recorded, at the moment it would
    // appear, so that a test can look at what holds then.
    std::function<void(const ShownDialog&)> onShown;

    void showMessage(QWidget* parent, const QString& caption, const QString& text,
                     MessageIcon icon) override;
    bool ask(QWidget* parent, const QString& caption, const QString& text) override;
    QStringList chooseFilesToOpen(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filter) override;
    QString chooseFileToSave(QWidget* parent, const QString& caption, const QString& startName,
                             const QString& filter, const QString& defaultSuffix) override;
    QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) override;
    QString chooseProgram(QWidget* parent, const QString& caption) override;

  private:
    void keep(ShownDialog dialog);
    QStringList answerFileDialog(ShownDialog::Kind kind, const QString& caption,
                                 const QString& start);
    QString answerPicker(ShownDialog::Kind kind, const QString& caption, const QString& start);

    std::vector<ShownDialog> shown_;
    std::deque<bool> questionAnswers_;
    std::deque<QStringList> fileAnswers_;
};

} // namespace statvane
