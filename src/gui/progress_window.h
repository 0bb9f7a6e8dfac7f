#pragma once

#include "analysis/run_observer.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace statvane {

class SettingsStore;

// The progress window: the run's step, a bar from 0 to 100, the running
// count and Cancel, the only way to close it. Not modal; the run asks it
// whether Cancel was pressed.
class TForm4 : public QWidget, public RunObserver {
    Q_OBJECT
  public:
    TForm4(SettingsStore& store, QWidget* parent = nullptr);

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
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QProgressBar* ProgressBar1;
    QPushButton* Button1;
};

} // namespace statvane
