#pragma once

#include "analysis/run_observer.h"
#include "gui/message_boxes.h"

#include <QFrame>

class QLabel;
class QProgressBar;
class QPushButton;

namespace statvane {

class SettingsStore;

// The progress window: the run's step, a bar from 0 to 100, the running
// count and Cancel, the only way to close it. Not modal; the run asks it
// whether Cancel was pressed. It belongs to the main window (its owner),
// which keeps it in front of that window; its message boxes belong to it.
//
// Window managers that put a close button on every title bar (openbox keeps
// it, and the minimise button, whatever the Motif hints ask) leave both off a
// splash window only, which they also never minimise, maximise or close; so
// the window is one, and draws its own raised frame.
class TForm4 : public QFrame, public RunObserver {
    Q_OBJECT
  public:
    TForm4(SettingsStore& store, Dialogs& dialogs, QWidget* owner = nullptr);

    void showProgress() override;
    void closeProgress() override;
    void setBusy(bool busy) override;
    void setStepText(const std::string& text) override;
    void advanceProgress(int amount) override;
    void setCount(const std::string& text) override;
    bool cancelRequested() override;
    void processEvents() override;

    void Button1Click();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormShow();
    void FormClose();

    SettingsStore& store_;
    MessageBoxPrompt prompt_;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QProgressBar* ProgressBar1;
    QPushButton* Button1;
};

} // namespace statvane
