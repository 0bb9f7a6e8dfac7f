#pragma once

#include "gui/main_window_actions.h"
#include "gui/message_boxes.h"

#include <QDialog>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace statvane {

class HelpWindow;
class ListedReports;
class PeriodChooser;
class ProfileStore;
class ReportSaveDialog;
class SettingsStore;
struct ReportProfile;

inline constexpr const char* kInvalidNameMessage =
    "The name you have entered for this report is either invalid or a duplicate name.  Please "
    "try again.";
inline constexpr const char* kNoSelectionMessage =
    "You must select a report feature under the 'Selections' tab.";
inline constexpr const char* kNoInputsOrOutputMessage =
    "You must select the input files and/or output style that this report will use.  Check the "
    "Inputs and Output tabs, then try again.";
// Names the first and the last day as the dialog writes them.
inline constexpr const char* kPeriodOrderMessage =
    "The period's first day, %1, comes after its last day, %2.  Please choose the days again.";
inline constexpr const char* kDeleteInputQuestion = "Are you sure you wish to delete this file?";
inline constexpr const char* kNewInputText = "*Enter a Path*";
inline constexpr const char* kFolderPickerCaption =
    "Select the directory you want to add to the list below...";

// The report properties dialog: one report's settings on four tabs, for a new
// report, to change the report selected in the main window, or to give it a
// new name. Not modal; created once and shown and hidden.
//
// Controls by object name: Image1 (the banner); PageControl1 with the tabs
// TabSheet1 "General", TabSheet2 "Selections", TabSheet3 "Inputs",
// TabSheet4 "Output", each opening with its text Label1 to Label4.
// General: NameEdit ("Name:", Label5), DescriptionEdit ("Description:",
// Label6). Selections: CheckBox1 visitors list, CheckBox2 DNS look-up,
// CheckBox3 referrer list, CheckBox4 top pages, CheckBox5 total bytes,
// CheckBox6 browsers, TrafficCheckBox traffic over time, StatusCheckBox
// status codes; below them the period (see PeriodChooser) and RobotsComboBox,
// how robots' lines count. Inputs: ListView1, AddButton, DeleteButton,
// FolderButton, BrowseButton. Output: ScreenRadioButton, FileRadioButton,
// OutputFileEdit, BrowseOutputButton ("..."), EmailCheckBox, EmailEdit.
// At the foot: OkButton, HelpButton, CancelButton.
class TForm2 : public QDialog {
    Q_OBJECT
  public:
    // The dialog checks names against the reports listed in the main window
    // and keeps that list in step with what it saves; `actions` tells which
    // report is being analysed.
    TForm2(ProfileStore& profiles, SettingsStore& settingsStore, ListedReports& reports,
           const MainWindowActions& actions, HelpWindow& help, ReportSaveDialog& saveDialog,
           Dialogs& dialogs);

    // Shows the dialog in the mode for the report (none for a new one). While
    // it is open it only comes to the front, keeping its mode and contents.
    void showInMode(PropertiesMode mode, std::optional<std::string> report);
    PropertiesMode mode() const { return mode_; }

    void OkButtonClick();
    void CancelButtonClick();
    void HelpButtonClick();

  public slots:
    // Escape and a close asked for by the window manager are Cancel.
    void reject() override;

  private:
    void buildControls();
    QWidget* buildGeneralTab();
    QWidget* buildSelectionsTab();
    QLayout* buildLineChoices(QWidget* tab);
    QWidget* buildInputsTab();
    QWidget* buildOutputTab();
    QWidget* buildButtons();

    void FormShow();
    void FormClose();
    void clearFields();
    void loadFields(const ReportProfile& profile);
    void enableForMode();
    void clearOutputChoice();
    void updateOutputControls();
    ReportProfile profileFromFields() const;
    void saveReport(const ReportProfile& profile);
    QListWidgetItem* appendInput(const QString& text);
    void tell(const char* message);
    bool periodInOrder();

    void ScreenRadioButtonClick(bool checked);
    void FileRadioButtonClick(bool checked);
    void EmailCheckBoxClick();
    void BrowseOutputButtonClick();
    void AddButtonClick();
    void DeleteButtonClick();
    void FolderButtonClick();
    void BrowseButtonClick();
    void ListView1Click();

    ProfileStore& profiles_;
    SettingsStore& settingsStore_;
    ListedReports& reports_;
    const MainWindowActions& actions_;
    HelpWindow& help_;
    ReportSaveDialog& saveDialog_;
    Dialogs& dialogs_;
    MessageBoxPrompt prompt_;
    PropertiesMode mode_ = PropertiesMode::New;
    std::optional<std::string> report_;

    QTabWidget* PageControl1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QWidget* TabSheet4;
    QLineEdit* NameEdit;
    QLineEdit* DescriptionEdit;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox6;
    QCheckBox* TrafficCheckBox;
    QCheckBox* StatusCheckBox;
    PeriodChooser* period_;
    QComboBox* RobotsComboBox;
    QListWidget* ListView1;
    QPushButton* DeleteButton;
    QRadioButton* ScreenRadioButton;
    QRadioButton* FileRadioButton;
    QLineEdit* OutputFileEdit;
    QPushButton* BrowseOutputButton;
    QCheckBox* EmailCheckBox;
    QLineEdit* EmailEdit;
    QPushButton* OkButton;
};

} // namespace statvane
