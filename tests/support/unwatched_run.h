#pragma once

#include "analysis/block_tally.h"
#include "analysis/run_observer.h"

#include <string>

// For the tests, fuzz targets and benchmarks that run the log pass with
// nobody watching.
namespace statvane::test {

// A run as the log pass sees it, check points included, with no window to
// draw; nobody presses Cancel unless a subclass does.
class UnwatchedRun : public RunObserver {
  public:
    void showProgress() override {}
    void setBusy(bool) override {}
    void closeProgress() override {}
    void setStepText(const std::string&) override {}
    void advanceProgress(int) override {}
    void setCount(const std::string&) override {}
    bool cancelRequested() override { return false; }
    void processEvents() override {}
};

// Every per-line analysis, pages on a web site.
inline PassSelection everyLineAnalysis() {
    PassSelection selection;
    selection.visitors = selection.referrers = selection.pages = selection.browsers = true;
    selection.webSite = "http://www.example.com";
    return selection;
}

} // namespace statvane::test
