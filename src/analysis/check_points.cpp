#include "analysis/check_points.h"

namespace statvane {
namespace {

constexpr auto kInterval = std::chrono::milliseconds(33);

} // namespace

void CheckPoints::startStep(const std::string& text, int progressStep) {
    observer_.setStepText(text);
    observer_.setCount("");
    countShown_ = false;
    observer_.advanceProgress(progressStep);
    observer_.processEvents();
    lastShown_ = std::chrono::steady_clock::now();
    sinceClockRead_ = 0;
}

bool CheckPoints::isCountDue() {
    if (countShown_)
        return isDue();
    countShown_ = true;
    lastShown_ = std::chrono::steady_clock::now();
    return true;
}

bool CheckPoints::isDue() {
    if (++sinceClockRead_ < clockEvery_)
        return false;
    sinceClockRead_ = 0;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastShown_ < kInterval)
        return false;
    lastShown_ = now;
    return true;
}

} // namespace statvane
