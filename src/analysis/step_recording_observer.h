#pragma once

#include "analysis/run_observer.h"

#include <string>

namespace statvane {

// Passes a run's reports on to the observer that shows them, and remembers
// the text of the step under way, so that a run that cannot go on can say
// which step it ended in.
class StepRecordingObserver : public RunObserver {
  public:
    explicit StepRecordingObserver(RunObserver& shown) : shown_(shown) {}

    const std::string& stepText() const { return stepText_; }

    void showProgress() override { shown_.showProgress(); }
    void setBusy(bool busy) override { shown_.setBusy(busy); }
    void closeProgress() override { shown_.closeProgress(); }
    void setStepText(const std::string& text) override {
        stepText_ = text;
        shown_.setStepText(text);
    }
    void advanceProgress(int amount) override { shown_.advanceProgress(amount); }
    void setCount(const std::string& text) override { shown_.setCount(text); }
    bool cancelRequested() override { return shown_.cancelRequested(); }
    void processEvents() override { shown_.processEvents(); }

  private:
    RunObserver& shown_;
    std::string stepText_;
};

} // namespace statvane
