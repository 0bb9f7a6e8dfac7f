#pragma once

#include "gui/help_window.h"
#include "gui/main_window.h"
#include "gui/options_dialog.h"
#include "gui/progress_window.h"
#include "gui/properties_dialog.h"
#include "gui/report_save_dialog.h"
#include "gui/results_window.h"
#include "net/http/http_head_requester.h"
#include "net/smtp/smtp_cli.h"
#include "output/mail_delivery.h"
#include "platform/registry.h"
#include "profiles/listed_reports.h"
#include "profiles/profile_store.h"
#include "run/analysis_run.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace statvane {

// Where the windows' runs deliver: the results window for a report shown on
// screen, e-mail through the main window's mail client for a saved one. The
// notices on the logs go to the main window's status bar.
class DesktopOutput : public RunOutput {
  public:
    DesktopOutput(TForm1& main, TForm5& results, MailDelivery& mail)
        : main_(main), results_(results), mail_(mail) {}
    void showResults(AnalysisResult result) override;
    bool mailReport(AnalysisResult& result, const Settings& settings,
                    const std::filesystem::path& file, const std::string& recipients) override;
    void keepSavedResult(AnalysisResult result) override;
    void tellLayoutNotices(const std::vector<std::string>& notices) override;

  private:
    TForm1& main_;
    TForm5& results_;
    MailDelivery& mail_;
};

// The desktop program: its stores and its windows, created once in their
// order and kept until it ends, and the commands that join them. The
// properties, Options and results windows stand beside the main window; the
// progress window belongs to it. Messages of the program as a whole (the
// start-up, the run, the mail, the help) belong to the main window.
class Desktop : public MainWindowActions {
  public:
    // endMessageLoop ends the program's message loop.
    Desktop(Dialogs& dialogs, StartupRun startup, std::function<void()> endMessageLoop);

    TForm1& mainWindow() { return form1_; }
    TForm2& propertiesDialog() { return form2_; }
    TForm3& optionsWindow() { return form3_; }
    // The live settings, as the run, the browser and the mail read them.
    const Settings& settings() const { return settings_; }
    TForm4& progressWindow() { return form4_; }
    TForm5& resultsWindow() { return form5_; }

    // Once the main window shows: reports left beside an installed program,
    // which are no longer read, are told in a message box.
    void tellOldReports();

    void runAnalysis(const std::optional<std::string>& report) override;
    bool isBeingAnalyzed(const std::string& report) const override;
    void openProperties(PropertiesMode mode) override;
    void showOptions() override;
    void showHelpContents() override;
    void openWebAddress(const std::string& address) override;
    void exitProgram() override;

  private:
    bool connected() const;
    void mailEnded(MailDelivery::Outcome outcome);
    std::optional<std::string> mailEndMessage(MailDelivery::Outcome outcome) const;
    void tellMailEnd(const std::optional<std::string>& message);

    std::filesystem::path programDirectory_;
    Registry registry_;
    SettingsStore settingsStore_;
    ProfileStore profiles_;
    // The reports of the main window's list.
    ListedReports reports_;
    Settings settings_;
    // The save dialog of the properties dialog and the results window.
    ReportSaveDialog saveDialog_;
    TForm1 form1_;
    HelpWindow help_;
    TForm2 form2_;
    TForm3 form3_;
    TForm4 form4_;
    TForm5 form5_;
    TSmtpCli smtpCli1_;
    MailDelivery mail_;
    HttpHeadRequester pageSizes_;
    DesktopOutput output_;
    AnalysisRun run_;
    std::function<void()> endMessageLoop_;
    bool exiting_ = false;
};

} // namespace statvane
