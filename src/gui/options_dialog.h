#pragma once

#include "gui/message_boxes.h"

#include <QDialog>
#include <filesystem>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace statvane {

class FilterListBox;
class HelpWindow;
class SettingsStore;
struct Settings;

inline constexpr const char* kFlushCacheQuestion =
    "Flushing the DNS cache will clear all of the data used to speed up the DNS resolving "
    "portion of Statvane.\n\nAre you sure you wish to delete this file?";
inline constexpr const char* kFileDeletedText = "File deleted.";

// The Options dialog: not modal, created hidden once at start-up, when it
// loads the settings. Its controls are the live settings record: every edit
// is written to it at once, for the run, the browser and the mail to read;
// only "&Ok" stores it, and "&Cancel" leaves the edits in force.
//
// Object names: PageControl1 (pages "General", "Filters", "Server
// Settings"); RadioButton1, RadioButton2, BrowserPathEdit, BrowseButton,
// WebSiteEdit, MaxCacheEdit, FlushCacheButton; VisitorList,
// VisitorAddButton, VisitorDeleteButton and the same for Referrer and
// TopPages; ProxyServerEdit, ProxyPortEdit, ProxyUserEdit, ProxyPasswordEdit,
// MailServerEdit, MailSecurityCombo, MailUserEdit, MailPasswordEdit,
// MailSubjectEdit, MailFromEdit, MailReplyToEdit; OkButton, HelpButton,
// CancelButton.
//
// Its message boxes belong to it, so that closing one leaves the dialog in
// front. Those of its creation are part of the program's start-up and go to
// the prompt it is created with, the main window's.
class TForm3 : public QDialog {
    Q_OBJECT
  public:
    TForm3(Settings& settings, SettingsStore& store, Dialogs& dialogs, HelpWindow& help,
           std::filesystem::path programDirectory, Prompt& startupPrompt);

    // Shows the dialog, or brings it to the front when it is shown.
    void showOptions();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    QWidget* buildGeneralPage();
    QWidget* buildFiltersPage();
    QWidget* buildServerPage();
    QWidget* buildButtons();
    QLineEdit* textField(const char* name, void (TForm3::*handler)(const QString&));

    void FormCreate(Prompt& startupPrompt);
    void FormShow();
    void FormClose();
    void showSettings();

    void RadioButton1Toggled(bool checked);
    void RadioButton2Toggled(bool checked);
    void BrowserPathEditChange(const QString& text);
    void BrowseButtonClick();
    void WebSiteEditChange(const QString& text);
    void MaxCacheEditChange(const QString& text);
    void FlushCacheButtonClick();
    void ProxyServerEditChange(const QString& text);
    void ProxyPortEditChange(const QString& text);
    void ProxyUserEditChange(const QString& text);
    void ProxyPasswordEditChange(const QString& text);
    void MailServerEditChange(const QString& text);
    void MailSecurityComboChange(int index);
    void MailUserEditChange(const QString& text);
    void MailPasswordEditChange(const QString& text);
    void MailSubjectEditChange(const QString& text);
    void MailFromEditChange(const QString& text);
    void MailReplyToEditChange(const QString& text);
    void OkButtonClick();
    void HelpButtonClick();
    void CancelButtonClick();

    Settings& settings_;
    SettingsStore& store_;
    Dialogs& dialogs_;
    MessageBoxPrompt prompt_;
    HelpWindow& help_;
    std::filesystem::path programDirectory_;

    QTabWidget* PageControl1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QLineEdit* BrowserPathEdit;
    QPushButton* BrowseButton;
    QLineEdit* WebSiteEdit;
    QLineEdit* MaxCacheEdit;
    FilterListBox* VisitorBox;
    FilterListBox* ReferrerBox;
    FilterListBox* TopPagesBox;
    QLineEdit* ProxyServerEdit;
    QLineEdit* ProxyPortEdit;
    QLineEdit* ProxyUserEdit;
    QLineEdit* ProxyPasswordEdit;
    QLineEdit* MailServerEdit;
    QComboBox* MailSecurityCombo;
    QLineEdit* MailUserEdit;
    QLineEdit* MailPasswordEdit;
    QLineEdit* MailSubjectEdit;
    QLineEdit* MailFromEdit;
    QLineEdit* MailReplyToEdit;
    QPushButton* OkButton;
};

} // namespace statvane
