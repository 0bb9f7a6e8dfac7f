#pragma once

#include "run/analysis_run.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace statvane::test {

// Records what a run reports; `onCheck` lets a test act at a check point
// (press Cancel, start another run).
class RecordingObserver : public RunObserver {
  public:
    void showProgress() override {
        events.push_back("show");
        position = 0;
        count.clear();
    }
    void closeProgress() override { events.push_back("close"); }
    void setBusy(bool on) override { busy = on; }
    void setStepText(const std::string& text) override {
        events.push_back("step " + text);
        steps.push_back(text);
        stepText = text;
    }
    void advanceProgress(int amount) override { position += amount; }
    void setCount(const std::string& text) override {
        counts.push_back(text);
        count = text;
    }
    bool cancelRequested() override {
        if (checksBeforeCancel >= 0 && checks++ >= checksBeforeCancel)
            cancel = true;
        return cancel;
    }
    void processEvents() override {
        repaints.push_back(stepText + " | " + count);
        if (onEvents)
            onEvents();
    }

    std::vector<std::string> events;
    std::vector<std::string> steps;
    std::vector<std::string> counts;
    // What each chance to repaint would show: "step text | count".
    std::vector<std::string> repaints;
    std::string stepText;
    std::string count;
    int position = 0;
    bool busy = false;
    bool cancel = false;
    // Presses Cancel at the check point after this many (when not negative).
    int checksBeforeCancel = -1;
    int checks = 0;
    std::function<void()> onEvents;
};

class RecordingPrompt : public Prompt {
  public:
    void showMessage(const std::string& text, MessageIcon icon) override {
        messages.emplace_back(text, icon);
    }
    bool ask(const std::string&) override { return false; }
    void showDetail(const std::string& line) override { details.push_back(line); }

    std::vector<std::pair<std::string, MessageIcon>> messages;
    std::vector<std::string> details;
};

class RecordingOutput : public RunOutput {
  public:
    void showResults(AnalysisResult result) override { shown.push_back(std::move(result)); }
    bool mailReport(AnalysisResult&, const Settings& settings, const std::filesystem::path& file,
                    const std::string& recipients) override {
        mailed.emplace_back(file, recipients);
        mailSubjects.push_back(settings.MailSubject);
        return mailSucceeds;
    }
    void tellLayoutNotices(const std::vector<std::string>& notices) override {
        layoutNotices.push_back(notices);
    }

    std::vector<AnalysisResult> shown;
    std::vector<std::pair<std::filesystem::path, std::string>> mailed;
    std::vector<std::string> mailSubjects;
    // What each delivered run told about its logs' layout.
    std::vector<std::vector<std::string>> layoutNotices;
    bool mailSucceeds = true;
};

} // namespace statvane::test
