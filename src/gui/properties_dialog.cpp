#include "gui/properties_dialog.h"

#include "gui/command_guard.h"
#include "gui/help_window.h"
#include "gui/loaded_text.h"
#include "gui/period_chooser.h"
#include "gui/report_save_dialog.h"
#include "gui/window_size.h"
#include "profiles/profile_store.h"
#include "profiles/report_rules.h"
#include "run/analysis_run.h"
#include "settings/settings_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace statvane {
namespace {

constexpr QSize kDesignClientSize(408, 364);

} // namespace

TForm2::TForm2(ProfileStore& profiles, SettingsStore& settingsStore, ListedReports& reports,
               const MainWindowActions& actions, HelpWindow& help, ReportSaveDialog& saveDialog,
               Dialogs& dialogs)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      profiles_(profiles), settingsStore_(settingsStore), reports_(reports), actions_(actions),
      help_(help), saveDialog_(saveDialog), dialogs_(dialogs), prompt_(dialogs, this) {
    setObjectName("Form2");
    setWindowTitle(tr("Report Properties"));
    setModal(false);
    buildControls();
    setFixedSize(firstShowSize(*this, kDesignClientSize));
}

void TForm2::showInMode(PropertiesMode mode, std::optional<std::string> report) {
    if (!isVisible()) {
        mode_ = report ? mode : PropertiesMode::New;
        report_ = mode_ == PropertiesMode::New ? std::nullopt : std::move(report);
        FormShow();
        centreOnScreen(*this);
        show();
    }
    raise();
    activateWindow();
}

// The stored size, the General tab, and the fields empty for a new report or
// filled from the report's profile.
void TForm2::FormShow() {
    runGuarded(prompt_, [this] { restoreWindowSize(*this, settingsStore_, "Form2"); });
    PageControl1->setCurrentIndex(0);
    enableForMode();
    DeleteButton->setEnabled(false);
    if (mode_ == PropertiesMode::New)
        clearFields();
    else
        runGuarded(prompt_, [this] { loadFields(profiles_.loadProfile(*report_)); });
    (mode_ == PropertiesMode::Modify ? DescriptionEdit : NameEdit)->setFocus();
}

void TForm2::enableForMode() {
    NameEdit->setEnabled(mode_ != PropertiesMode::Modify);
    const bool settingsEditable = mode_ != PropertiesMode::Rename;
    DescriptionEdit->setEnabled(settingsEditable);
    for (QWidget* tab : {TabSheet2, TabSheet3, TabSheet4})
        tab->setEnabled(settingsEditable);
}

void TForm2::clearFields() {
    for (QLineEdit* field : {NameEdit, DescriptionEdit, OutputFileEdit, EmailEdit})
        setLoadedText(*field, {});
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6,
                           TrafficCheckBox, StatusCheckBox, EmailCheckBox})
        box->setChecked(false);
    clearOutputChoice();
    ListView1->clear();
    period_->setPeriod({});
    RobotsComboBox->setCurrentIndex(
        RobotsComboBox->findData(static_cast<int>(RobotChoice::Include)));
}

// In the order the profile's keys are read; choosing the output last has the
// effect of a click, so the screen output clears the e-mail box.
void TForm2::loadFields(const ReportProfile& profile) {
    setLoadedText(*NameEdit, *report_);
    setLoadedText(*DescriptionEdit, profile.description);
    CheckBox1->setChecked(profile.visitorsList);
    CheckBox3->setChecked(profile.referrerList);
    CheckBox2->setChecked(profile.dnsLookup);
    CheckBox4->setChecked(profile.topPagesList);
    CheckBox5->setChecked(profile.totalBytes);
    CheckBox6->setChecked(profile.popularBrowser);
    TrafficCheckBox->setChecked(profile.trafficOverTime);
    StatusCheckBox->setChecked(profile.statusCodes);
    period_->setPeriod(profile.period);
    RobotsComboBox->setCurrentIndex(RobotsComboBox->findData(static_cast<int>(profile.robots)));
    EmailCheckBox->setChecked(profile.emailReport);
    setLoadedText(*EmailEdit, profile.emailAddresses);
    ListView1->clear();
    for (const auto& input : profile.inputs)
        setLoadedText(*appendInput({}), input);
    setLoadedText(*OutputFileEdit, profile.outputFile);
    QRadioButton* chosen = profile.saveToFile ? FileRadioButton : ScreenRadioButton;
    chosen->setChecked(true);
    if (profile.saveToFile)
        FileRadioButtonClick(true);
    else
        ScreenRadioButtonClick(true);
}

void TForm2::clearOutputChoice() {
    for (QRadioButton* choice : {ScreenRadioButton, FileRadioButton}) {
        choice->setAutoExclusive(false);
        choice->setChecked(false);
        choice->setAutoExclusive(true);
    }
    updateOutputControls();
}

void TForm2::updateOutputControls() {
    const bool toFile = FileRadioButton->isChecked();
    OutputFileEdit->setEnabled(toFile);
    BrowseOutputButton->setEnabled(toFile);
    EmailCheckBox->setEnabled(toFile);
    EmailEdit->setEnabled(EmailCheckBox->isChecked());
}

void TForm2::ScreenRadioButtonClick(bool checked) {
    if (checked)
        EmailCheckBox->setChecked(false);
    updateOutputControls();
}

void TForm2::FileRadioButtonClick(bool) {
    updateOutputControls();
}

void TForm2::EmailCheckBoxClick() {
    updateOutputControls();
}

void TForm2::BrowseOutputButtonClick() {
    if (const auto chosen = saveDialog_.choose(this))
        OutputFileEdit->setText(*chosen);
}

QListWidgetItem* TForm2::appendInput(const QString& text) {
    auto* item = new QListWidgetItem(text, ListView1);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

void TForm2::AddButtonClick() {
    ListView1->setUpdatesEnabled(false);
    QListWidgetItem* added = appendInput(tr(kNewInputText));
    ListView1->setUpdatesEnabled(true);
    ListView1->scrollToItem(added);
    ListView1->setCurrentItem(added);
    ListView1->editItem(added);
}

void TForm2::DeleteButtonClick() {
    const auto selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return;
    if (prompt_.ask(tr(kDeleteInputQuestion).toStdString()))
        delete selected.front();
    DeleteButton->setEnabled(false);
}

// The run reads "/" and "\" alike in a folder pattern.
void TForm2::FolderButtonClick() {
    const QString folder = dialogs_.chooseFolder(this, tr(kFolderPickerCaption), QString());
    if (folder.isEmpty())
        return;
    appendInput(folder.endsWith('/') ? folder + "*.*" : folder + "/*.*");
}

// The picker starts where the first file chosen last time was.
void TForm2::BrowseButtonClick() {
    runGuarded(prompt_, [this] {
        const QString start =
            QFile::decodeName(QByteArray::fromStdString(settingsStore_.readOpenDirectory()));
        const QStringList files =
            dialogs_.chooseFilesToOpen(this, tr("Open"), start, tr("All Files (*)"));
        if (files.isEmpty())
            return;
        settingsStore_.writeOpenDirectory(QFile::encodeName(files.front()).toStdString());
        for (const QString& file : files)
            appendInput(file);
    });
}

void TForm2::ListView1Click() {
    DeleteButton->setEnabled(true);
}

void TForm2::OkButtonClick() {
    if (mode_ == PropertiesMode::Rename && actions_.isBeingAnalyzed(*report_))
        return tell(kReportBeingAnalyzedMessage);
    const ReportProfile profile = profileFromFields();
    if (NameEdit->isEnabled() && !reportNameAcceptable(profile.name, reports_, report_))
        return tell(kInvalidNameMessage);
    if (profile.totalOptions == 0)
        return tell(kNoSelectionMessage);
    if (ListView1->count() == 0 ||
        (!ScreenRadioButton->isChecked() && !FileRadioButton->isChecked()))
        return tell(kNoInputsOrOutputMessage);
    if (!periodInOrder())
        return;
    runGuarded(prompt_, [&] {
        saveReport(profile);
        FormClose();
    });
}

void TForm2::tell(const char* message) {
    prompt_.showMessage(tr(message).toStdString(), MessageIcon::Information);
}

// Between's first day is not after its last; told when it is.
bool TForm2::periodInOrder() {
    const ReportPeriod period = period_->period();
    if (period.choice != PeriodChoice::Between || period.from <= period.to)
        return true;
    const QString message = tr(kPeriodOrderMessage).arg(period_->fromText(), period_->toText());
    prompt_.showMessage(message.toStdString(), MessageIcon::Information);
    return false;
}

ReportProfile TForm2::profileFromFields() const {
    ReportProfile profile;
    profile.name = textBytes(*NameEdit);
    profile.description = textBytes(*DescriptionEdit);
    profile.visitorsList = CheckBox1->isChecked();
    profile.dnsLookup = CheckBox2->isChecked();
    profile.referrerList = CheckBox3->isChecked();
    profile.topPagesList = CheckBox4->isChecked();
    profile.totalBytes = CheckBox5->isChecked();
    profile.popularBrowser = CheckBox6->isChecked();
    profile.trafficOverTime = TrafficCheckBox->isChecked();
    profile.statusCodes = StatusCheckBox->isChecked();
    profile.period = period_->period();
    profile.robots = static_cast<RobotChoice>(RobotsComboBox->currentData().toInt());
    profile.saveToFile = FileRadioButton->isChecked();
    profile.outputFile = textBytes(*OutputFileEdit);
    profile.emailAddresses = textBytes(*EmailEdit);
    profile.emailReport = EmailCheckBox->isChecked();
    for (int row = 0; row < ListView1->count(); ++row)
        profile.inputs.push_back(textBytes(*ListView1->item(row)));
    profile.totalOptions = countOptions(profile);
    return profile;
}

void TForm2::saveReport(const ReportProfile& profile) {
    switch (mode_) {
    case PropertiesMode::New:
        return saveNewReport(profiles_, reports_, profile);
    case PropertiesMode::Modify:
        return profiles_.saveProfile(profile);
    case PropertiesMode::Rename:
        return renameReport(profiles_, reports_, *report_, profile);
    }
}

void TForm2::CancelButtonClick() {
    for (QLineEdit* field : {NameEdit, DescriptionEdit, OutputFileEdit})
        field->clear();
    CheckBox1->setChecked(false);
    CheckBox3->setChecked(false);
    clearOutputChoice();
    FormClose();
}

void TForm2::reject() {
    CancelButtonClick();
}

void TForm2::HelpButtonClick() {
    help_.showTopic(2);
}

// The size (height first), then back to new mode, hidden.
void TForm2::FormClose() {
    runGuarded(prompt_, [this] { storeWindowSize(*this, settingsStore_, "Form2"); });
    mode_ = PropertiesMode::New;
    report_.reset();
    enableForMode();
    hide();
}

} // namespace statvane
