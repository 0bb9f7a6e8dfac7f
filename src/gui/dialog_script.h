#pragma once

#include "platform/prompt.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class QWidget;

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

// The seam between the program's modal dialogs and tests. While a script
// exists, no dialog appears: each is recorded and answered from the script
// (a question with No, a file dialog with Cancel, when no answer is queued).
class DialogScript {
  public:
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // The script in force, or none when real dialogs are shown.
    static DialogScript* active();

    void answerNextQuestion(bool yes) { questionAnswers_.push_back(yes); }
    // The next file dialog or folder picker returns these paths (one for a
    // save dialog, the folder picker or a program); an empty list is Cancel.
    void answerNextFileDialog(const QStringList& paths) { fileAnswers_.push_back(paths); }

    // Records a dialog and returns the answer queued for it.
    bool record(ShownDialog dialog);
    QStringList recordFileDialog(ShownDialog dialog);

    const std::vector<ShownDialog>& shown() const { return shown_; }
    void clearShown() { shown_.clear(); }
    // Called with each dialog as it is recorded, at the moment it would
    // appear, so that a test can look at what holds then.
    std::function<void(const ShownDialog&)> onShown;

  private:
    void keep(ShownDialog dialog);

    std::vector<ShownDialog> shown_;
    std::deque<bool> questionAnswers_;
    std::deque<QStringList> fileAnswers_;
    DialogScript* previous_;
};

} // namespace statvane
