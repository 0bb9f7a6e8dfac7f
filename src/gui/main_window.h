#pragma once

#include "gui/main_window_actions.h"
#include "gui/message_boxes.h"

#include <QMainWindow>
#include <QString>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;

namespace statvane {

class ProfileStore;
class SettingsStore;

inline constexpr const char* kStartStatusText =
    "To begin using Statvane, select or create a report.";
inline constexpr const char* kSelectToModifyMessage =
    "Please select the report you wish to modify.  Then, try again.";
inline constexpr const char* kSelectToDeleteMessage =
    "Please select the report you wish to delete.  Then, try again.";
inline constexpr const char* kDeleteQuestion = "Are you sure you wish to delete this report?";
inline constexpr const char* kReportDeletedText = "The report was deleted.";

// The report named at start to be run at once, and whether the program ends
// after that run.
struct StartupRun {
    std::optional<std::string> report;
    bool closeAfterRun = false;
};

// The main window: the list of reports and every command on them. Its
// message boxes belong to it from its creation on, those of the start-up too.
class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    TForm1(ProfileStore& profiles, SettingsStore& settingsStore, Dialogs& dialogs,
           MainWindowActions& actions, StartupRun startup);

    // Message boxes owned by the main window.
    Prompt& prompt() { return prompt_; }

    // The selected report's name, none without a selection.
    std::optional<std::string> selectedReport() const;
    // Every entry's name, top to bottom.
    std::vector<std::string> reportNames() const;
    // For the properties dialog: a new report's entry at the end of the list,
    // and the removal of a renamed report's entry.
    void addReport(const std::string& name);
    void removeReport(const std::string& name);
    bool isBeingAnalyzed(const std::string& name) const { return actions_.isBeingAnalyzed(name); }
    // What a run that has ended has to say about its logs, in the status bar
    // instead of the text there; a run without a notice puts that text back
    // when the status bar still shows the last run's notice.
    void showRunNotice(const std::optional<std::string>& notice);

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    void buildPopupMenu();
    void fillReportList();
    void removeEntry(QListWidgetItem* item);
    QAction* menuItem(QMenu* menu, const char* name, const QString& caption,
                      void (TForm1::*handler)());
    void guarded(const std::function<void()>& command);

    void FormCreate();
    void FormShow();
    void runStartupReport();
    void deleteSelectedReport();

    void ListView1Click();
    void ListView1DblClick();
    void ListView1ContextPopup(const QPoint& position);
    void NewReportButtonClick();
    void ModifyReportButtonClick();
    void DeleteReportButtonClick();
    void UpdateCheckButtonClick();
    void AnalyzeNowButtonClick();
    void ExitButtonClick();
    void HelpButtonClick();
    void Exit1Click();
    void Options1Click();
    void WebSite1Click();
    void AboutStatvane1Click();
    void Analyze1Click();
    void Delete1Click();
    void Rename1Click();
    void Properties1Click();

    ProfileStore& profiles_;
    SettingsStore& settingsStore_;
    Dialogs& dialogs_;
    MessageBoxPrompt prompt_;
    MainWindowActions& actions_;
    StartupRun startup_;
    bool shown_ = false;

    QLabel* Label1;
    QListWidget* ListView1;
    QLabel* StatusBar1;
    QString runNotice_;
    QString textBeforeNotice_;
    QMenu* PopupMenu1;
    QPushButton* AnalyzeNowButton;
};

} // namespace statvane
