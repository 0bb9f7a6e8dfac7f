#pragma once

#include <string>

namespace statvane {

// What an analysis run reports while it works. The progress window is one
// observer, the batch run's terminal line another, tests record.
class RunObserver {
  public:
    virtual ~RunObserver() = default;
    // The progress display appears (bar at 0, count empty, Cancel enabled)
    // and, at the end of a run, goes away.
    virtual void showProgress() = 0;
    // The busy cursor while a run works; always switched off at its end.
    virtual void setBusy(bool busy) = 0;
    virtual void closeProgress() = 0;
    virtual void setStepText(const std::string& text) = 0;
    virtual void advanceProgress(int amount) = 0;
    virtual void setCount(const std::string& text) = 0;
    // Cheap; asked at every check point.
    virtual bool cancelRequested() = 0;
    // Lets pending events run (repaints, the Cancel button).
    virtual void processEvents() = 0;
};

} // namespace statvane
