#pragma once

#include "gui/main_window_actions.h"
#include "gui/message_boxes.h"

#include <QMainWindow>
#include <QString>
#include <functional>
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

class ListedReports;
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
    // The window's list shows the reports, filled from the profiles at its
    // creation and following each of their changes after.
    TForm1(ProfileStore& profiles, SettingsStore& settingsStore, ListedReports& reports,
           Dialogs& dialogs, MainWindowActions& actions, StartupRun startup);

    // Message boxes owned by the main window.
    Prompt& prompt() { return prompt_; }

    // The selected report's name, none without a selection.
    std::optional<std::string> selectedReport() const;
    // Every entry's name, top to bottom.
    const std::vector<std::string>& reportNames() const;
    // A report's entry at the end of the list, and the removal of the entry
    // of exactly that name.
    void addReport(const std::string& name);
    void removeReport(const std::string& name);
    // What a run that has ended has to say about its logs, in the status bar
    // instead of the text there; a run without a notice puts that text back
    // when the status bar still shows the last run's notice.
    void showRunNotice(const std::optional<std::string>& notice);

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // What a command on the selected report does without a selection.
    enum class Unselected { Tell, Ignore };
    struct Commands {
        QAction* newReport;
        QAction* modifyReport;
        QAction* deleteReport;
        QAction* exitProgram;
        QAction* options;
        QAction* updateCheck;
        QAction* contents;
        QAction* webSite;
        QAction* about;
        QAction* analyze;
        QAction* remove;
        QAction* rename;
        QAction* properties;
        QAction* closeWindow;
    };

    void buildCommands();
    QAction* command(const char* name, const QString& text, std::function<void()> handler);
    void buildControls();
    void buildMenus();
    void buildPopupMenu();
    void fillReportList();
    void appendEntry(const std::string& name);
    void removeEntry(QListWidgetItem* item);
    void guarded(const std::function<void()>& command);

    void FormCreate();
    void FormShow();
    void runStartupReport();

    void ListView1Click();
    void ListView1DblClick();
    void ListView1ContextPopup(const QPoint& position);
    bool reportSelected(Unselected unselected, const char* selectMessage);
    void modifyReport(Unselected unselected);
    void deleteReport(Unselected unselected);
    void renameReport();
    void deleteSelectedReport();
    void analyzeNow();
    void showAbout();

    ProfileStore& profiles_;
    SettingsStore& settingsStore_;
    ListedReports& reports_;
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
    Commands commands_{};
    QMenu* PopupMenu1;
    QPushButton* AnalyzeNowButton;
};

} // namespace statvane
