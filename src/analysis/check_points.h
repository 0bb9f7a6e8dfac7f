#pragma once

#include "analysis/run_observer.h"

#include <chrono>
#include <string>

namespace statvane {

// The check points of a step: Cancel is tested at each one, while the
// running count is shown and pending events run about 30 times a second at
// most, and always at a step's first and last check points, so that a step's
// own count appears at once and the display ends the same.
class CheckPoints {
  public:
    // Reading the clock at every line of a million-line log would cost more
    // than the step itself, so fast steps read it every clockEvery check
    // points; steps that wait on the network read it at each.
    explicit CheckPoints(RunObserver& observer, unsigned clockEvery = 64)
        : observer_(observer), clockEvery_(clockEvery) {}

    // Shows the count (when due), then tests for Cancel, then lets events run.
    // False when the run is cancelled. countText is called only when shown.
    template <typename CountText> bool pass(CountText&& countText, bool last = false) {
        const bool due = last || isCountDue();
        if (due)
            observer_.setCount(countText());
        if (observer_.cancelRequested())
            return false;
        if (due)
            observer_.processEvents();
        return true;
    }

    // As pass, but tests for Cancel before showing the count.
    template <typename CountText> bool passCancelFirst(CountText&& countText, bool last = false) {
        if (observer_.cancelRequested())
            return false;
        if (last || isCountDue()) {
            observer_.setCount(countText());
            observer_.processEvents();
        }
        return true;
    }

    // For work that shows no count (reading the files): tests for Cancel,
    // then lets events run when due. False when the run is cancelled.
    bool passWithoutCount() {
        if (observer_.cancelRequested())
            return false;
        if (isDue())
            observer_.processEvents();
        return true;
    }

    // Starts a step: its text, an empty count (the previous step's is not
    // this one's), the bar's advance, and a chance to repaint.
    void startStep(const std::string& text, int progressStep);

    RunObserver& observer() { return observer_; }

  private:
    bool isDue();
    // As isDue, and always at the first count of a step.
    bool isCountDue();

    RunObserver& observer_;
    unsigned clockEvery_;
    unsigned sinceClockRead_ = 0;
    std::chrono::steady_clock::time_point lastShown_{};
    bool countShown_ = false;
};

} // namespace statvane
