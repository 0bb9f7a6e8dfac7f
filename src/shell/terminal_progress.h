#pragma once

#include "analysis/run_observer.h"

#include <cstdio>
#include <functional>
#include <string>

namespace statvane {

// The batch run's progress: one line on standard error (step text, bar,
// running count), redrawn in place when standard error is a terminal, and
// Ctrl+C as Cancel.
class TerminalProgress : public RunObserver {
  public:
    TerminalProgress();
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void showProgress() override;
    void closeProgress() override;
    void setBusy(bool) override {}
    void setStepText(const std::string& text) override;
    void advanceProgress(int amount) override;
    void setCount(const std::string& text) override;
    bool cancelRequested() override;
    void processEvents() override;

    // Lets `print` write whole lines to standard error above the progress
    // line, which is drawn again below them.
    void printAbove(const std::function<void()>& print);

  private:
    void draw();
    void clearLine();

    bool drawing_;
    bool visible_ = false;
    std::string step_;
    std::string count_;
    int position_ = 0;
};

} // namespace statvane
