#pragma once

#include <optional>
#include <string>

namespace statvane {

// How the properties dialog is opened: for a new report, for the selected
// report with its name fixed, or to give the selected report a new name.
enum class PropertiesMode { New, Modify, Rename };

// What the main window's commands ask of the rest of the program.
class MainWindowActions {
  public:
    virtual ~MainWindowActions() = default;
    // Runs the report (none when no report is selected); returns when the
    // run has ended.
    virtual void runAnalysis(const std::optional<std::string>& report) = 0;
    // Whether the report is the one being analysed now: the run reads its
    // sections as it goes, so it is neither deleted nor renamed meanwhile.
    virtual bool isBeingAnalyzed(const std::string& report) const = 0;
    virtual void openProperties(PropertiesMode mode) = 0;
    virtual void showOptions() = 0;
    virtual void showHelpContents() = 0;
    virtual void openWebAddress(const std::string& address) = 0;
    // Ends the program: the windows go, and the message loop ends as soon as
    // no report is still being mailed.
    virtual void exitProgram() = 0;
};

} // namespace statvane
