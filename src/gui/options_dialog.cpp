#include "gui/options_dialog.h"

#include "analysis/dns_cache.h"
#include "gui/command_guard.h"
#include "gui/display_text.h"
#include "gui/filter_list_box.h"
#include "gui/help_window.h"
#include "gui/loaded_text.h"
#include "gui/window_size.h"
#include "platform/prompt.h"
#include "settings/mail_security.h"
#include "settings/settings_loading.h"
#include "settings/settings_store.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <system_error>

namespace statvane {
namespace {

constexpr QSize kDesignClientSize(427, 413);
constexpr int kHelpTopic = 3;

} // namespace

TForm3::TForm3(Settings& settings, SettingsStore& store, Dialogs& dialogs, HelpWindow& help,
               std::filesystem::path programDirectory, Prompt& startupPrompt)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings), store_(store), dialogs_(dialogs), prompt_(dialogs, this), help_(help),
      programDirectory_(std::move(programDirectory)) {
    setObjectName("Form3");
    setWindowTitle(tr("Options"));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->addTab(buildGeneralPage(), tr("General"));
    PageControl1->addTab(buildFiltersPage(), tr("Filters"));
    PageControl1->addTab(buildServerPage(), tr("Server Settings"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(buildButtons());
    // Made the default once it is in the dialog, so that the dialog gives
    // Enter back to it whenever a button that had taken it loses the focus.
    OkButton->setDefault(true);
    setFixedSize(firstShowSize(*this, kDesignClientSize));
    FormCreate(startupPrompt);
}

void TForm3::FormCreate(Prompt& startupPrompt) {
    PageControl1->setCurrentIndex(0);
    loadSettingsTellingProblems(store_, settings_, startupPrompt);
    showSettings();
}

// The record into the controls; choosing the option button runs its rule.
void TForm3::showSettings() {
    (settings_.DefaultBrowser ? RadioButton1 : RadioButton2)->setChecked(true);
    const std::pair<QLineEdit*, const std::string*> texts[] = {
        {BrowserPathEdit, &settings_.BrowserPath},
        {WebSiteEdit, &settings_.WebSite},
        {MaxCacheEdit, &settings_.MaxCache},
        {ProxyServerEdit, &settings_.ProxyServerAddress},
        {ProxyPortEdit, &settings_.ProxyPort},
        {ProxyUserEdit, &settings_.ProxyUserName},
        {ProxyPasswordEdit, &settings_.ProxyPassword},
        {MailServerEdit, &settings_.MailServer},
        {MailUserEdit, &settings_.MailUserName},
        {MailPasswordEdit, &settings_.MailPassword},
        {MailSubjectEdit, &settings_.MailSubject},
        {MailFromEdit, &settings_.MailSender},
        {MailReplyToEdit, &settings_.MailReplyTo},
    };
    for (const auto& [edit, text] : texts)
        edit->setText(displayText(*text));
    // A stored security that names no mode shows none; mailing then says so.
    const auto security = mailSecurityMode(settings_.MailSecurity);
    MailSecurityCombo->setCurrentIndex(security ? static_cast<int>(*security) : -1);
    for (FilterListBox* box : {VisitorBox, ReferrerBox, TopPagesBox})
        box->loadEntries();
}

void TForm3::showOptions() {
    if (!isVisible())
        FormShow();
    show();
    raise();
    activateWindow();
}

// The stored size only: the page and the values stay as they were left.
void TForm3::FormShow() {
    runGuarded(prompt_, [this] { restoreWindowSize(*this, store_, "Form3"); });
    centreOnScreen(*this);
}

void TForm3::FormClose() {
    runGuarded(prompt_, [this] { storeWindowSize(*this, store_, "Form3"); });
    hide();
}

void TForm3::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

// Escape, when no entry is being edited, closes the dialog as the close box does.
void TForm3::reject() {
    close();
}

void TForm3::RadioButton1Toggled(bool checked) {
    if (!checked)
        return;
    settings_.DefaultBrowser = true;
    BrowserPathEdit->setEnabled(false);
    BrowseButton->setEnabled(false);
}

void TForm3::RadioButton2Toggled(bool checked) {
    if (!checked)
        return;
    settings_.DefaultBrowser = false;
    BrowserPathEdit->setEnabled(true);
    BrowseButton->setEnabled(true);
}

void TForm3::BrowserPathEditChange(const QString& text) {
    settings_.BrowserPath = typedText(text);
}

void TForm3::BrowseButtonClick() {
    const QString program = dialogs_.chooseProgram(this, tr("Open"));
    if (program.isEmpty())
        return;
    BrowserPathEdit->setText(program);
    settings_.BrowserPath = program.toStdString();
}

void TForm3::WebSiteEditChange(const QString& text) {
    settings_.WebSite = typedText(text);
}

void TForm3::MaxCacheEditChange(const QString& text) {
    settings_.MaxCache = typedText(text);
}

// Only a file that was there and is gone is told; any failure is silent.
void TForm3::FlushCacheButtonClick() {
    if (!prompt_.ask(tr(kFlushCacheQuestion).toStdString()))
        return;
    std::error_code failure;
    if (std::filesystem::remove(dnsLogFile(programDirectory_), failure))
        prompt_.showMessage(tr(kFileDeletedText).toStdString(), MessageIcon::Information);
}

void TForm3::ProxyServerEditChange(const QString& text) {
    settings_.ProxyServerAddress = typedText(text);
}

void TForm3::ProxyPortEditChange(const QString& text) {
    settings_.ProxyPort = typedText(text);
}

void TForm3::ProxyUserEditChange(const QString& text) {
    settings_.ProxyUserName = typedText(text);
}

void TForm3::ProxyPasswordEditChange(const QString& text) {
    settings_.ProxyPassword = typedText(text);
}

void TForm3::MailServerEditChange(const QString& text) {
    settings_.MailServer = typedText(text);
}

void TForm3::MailSecurityComboChange(int index) {
    settings_.MailSecurity = kMailSecurityNames[index];
}

void TForm3::MailUserEditChange(const QString& text) {
    settings_.MailUserName = typedText(text);
}

void TForm3::MailPasswordEditChange(const QString& text) {
    settings_.MailPassword = typedText(text);
}

void TForm3::MailSubjectEditChange(const QString& text) {
    settings_.MailSubject = typedText(text);
}

void TForm3::MailFromEditChange(const QString& text) {
    settings_.MailSender = typedText(text);
}

void TForm3::MailReplyToEditChange(const QString& text) {
    settings_.MailReplyTo = typedText(text);
}

// A write that fails is told and leaves the dialog open with what was typed.
void TForm3::OkButtonClick() {
    runGuarded(prompt_, [this] {
        if (store_.saveSettings(settings_) == SaveResult::Saved)
            close();
        else
            prompt_.showMessage(kMaxCacheMessage, MessageIcon::Warning);
    });
}

void TForm3::HelpButtonClick() {
    help_.showTopic(kHelpTopic);
}

void TForm3::CancelButtonClick() {
    close();
}

} // namespace statvane
