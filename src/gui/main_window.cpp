#include "gui/main_window.h"

#include "analysis/analysis_run.h"
#include "gui/command_guard.h"
#include "gui/display_text.h"
#include "gui/message_boxes.h"
#include "gui/report_icon.h"
#include "gui/window_size.h"
#include "net/web/web_launching.h"
#include "platform/ascii.h"
#include "profiles/profile_store.h"
#include "settings/settings_store.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

namespace statvane {
namespace {

constexpr QSize kDesignClientSize(410, 271);
constexpr int kLabelWidthInCharacters = 14;
constexpr int kLabelLines = 3;
constexpr int kLabelMargin = 8;

constexpr const char* kAboutText =
    "Statvane v1.0\n\n"
    "A fast analyser of web-server access logs.\n\n"
    "Copyright \u00a9 2026 Velmor Software.\n\n"
    "This program is free software: you can redistribute it and/or modify it under the terms "
    "of the GNU General Public License as published by the Free Software Foundation, either "
    "version 3 of the License, or (at your option) any later version. It comes with "
    "ABSOLUTELY NO WARRANTY; see the GNU General Public License "
    "(https://www.gnu.org/licenses/gpl-3.0.html) for details.";

std::string reportName(const QListWidgetItem& item) {
    return item.data(Qt::UserRole).toByteArray().toStdString();
}

} // namespace

TForm1::TForm1(ProfileStore& profiles, SettingsStore& settingsStore, Dialogs& dialogs,
               MainWindowActions& actions, StartupRun startup)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
      profiles_(profiles), settingsStore_(settingsStore), dialogs_(dialogs), prompt_(dialogs, this),
      actions_(actions), startup_(std::move(startup)) {
    setObjectName("Form1");
    setWindowTitle(kApplicationTitle);
    buildControls();
    buildMenus();
    buildPopupMenu();
    resize(
        firstShowSize(*this, kDesignClientSize + QSize(0, menuBar()->sizeHint().height() +
                                                              statusBar()->sizeHint().height())));
    FormCreate();
}

void TForm1::buildControls() {
    auto* client = new QWidget(this);
    auto* layout = new QGridLayout(client);
    Label1 = new QLabel("Re&ports:", client);
    Label1->setObjectName("Label1");
    ListView1 = new QListWidget(client);
    ListView1->setObjectName("ListView1");
    ListView1->setViewMode(QListView::IconMode);
    ListView1->setIconSize(QSize(32, 32));
    ListView1->setMovement(QListView::Static);
    ListView1->setResizeMode(QListView::Adjust);
    ListView1->setWordWrap(true);
    // Labels wrap within a cell of their own and are cut with "..." past its
    // foot, so that one long name cannot push the others out of sight.
    const QFontMetrics metrics = ListView1->fontMetrics();
    ListView1->setGridSize(
        QSize(metrics.averageCharWidth() * kLabelWidthInCharacters,
              ListView1->iconSize().height() + metrics.lineSpacing() * kLabelLines + kLabelMargin));
    ListView1->setTextElideMode(Qt::ElideRight);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    Label1->setBuddy(ListView1);
    connect(ListView1, &QListWidget::itemClicked, this, &TForm1::ListView1Click);
    connect(ListView1, &QListWidget::itemDoubleClicked, this, &TForm1::ListView1DblClick);
    connect(ListView1, &QWidget::customContextMenuRequested, this, &TForm1::ListView1ContextPopup);
    auto* deleteKey =
        new QShortcut(QKeySequence::Delete, ListView1, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &TForm1::DeleteReportButtonClick);

    layout->addWidget(Label1, 0, 0);
    layout->addWidget(ListView1, 1, 0, 8, 1);
    int row = 1;
    const auto button = [&](const char* name, const char* caption, void (TForm1::*handler)()) {
        auto* button = new QPushButton(caption, client);
        button->setObjectName(name);
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, handler);
        layout->addWidget(button, row++, 1);
        return button;
    };
    button("NewReportButton", "&New Report", &TForm1::NewReportButtonClick);
    button("ModifyReportButton", "&Modify Report", &TForm1::ModifyReportButtonClick);
    button("DeleteReportButton", "&Delete Report", &TForm1::DeleteReportButtonClick);
    button("UpdateCheckButton", "&Update Check", &TForm1::UpdateCheckButtonClick);
    layout->setRowStretch(row++, 1);
    AnalyzeNowButton = button("AnalyzeNowButton", "&Analyze Now", &TForm1::AnalyzeNowButtonClick);
    AnalyzeNowButton->setDefault(true);
    button("HelpButton", "&Help", &TForm1::HelpButtonClick);
    button("ExitButton", "&Exit", &TForm1::ExitButtonClick);
    layout->setColumnStretch(0, 1);
    setCentralWidget(client);

    StatusBar1 = new QLabel(kStartStatusText, this);
    StatusBar1->setObjectName("StatusBar1");
    statusBar()->addWidget(StatusBar1, 1);
    statusBar()->setSizeGripEnabled(true);
}

QAction* TForm1::menuItem(QMenu* menu, const char* name, const QString& caption,
                          void (TForm1::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TForm1::buildMenus() {
    QMenu* reports = menuBar()->addMenu("&Reports");
    reports->setObjectName("Reports1");
    menuItem(reports, "NewReport1", "&New Report", &TForm1::NewReportButtonClick);
    menuItem(reports, "ModifyReport1", "&Modify Report", &TForm1::ModifyReportButtonClick);
    menuItem(reports, "DeleteReport1", "&Delete Report", &TForm1::DeleteReportButtonClick);
    reports->addSeparator();
    menuItem(reports, "Exit1", "E&xit", &TForm1::Exit1Click);

    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->setObjectName("Tools1");
    menuItem(tools, "Options1", "&Options", &TForm1::Options1Click);
    menuItem(tools, "UpdateCheck1", "&Update Check", &TForm1::UpdateCheckButtonClick);

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("Help1");
    menuItem(help, "Contents1", "&Contents", &TForm1::HelpButtonClick)
        ->setShortcut(QKeySequence(Qt::Key_F1));
    menuItem(help, "WebSite1", "&Web Site", &TForm1::WebSite1Click);
    help->addSeparator();
    menuItem(help, "AboutStatvane1", "&About Statvane...", &TForm1::AboutStatvane1Click);
}

void TForm1::buildPopupMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    menuItem(PopupMenu1, "Analyze1", "&Analyze...", &TForm1::Analyze1Click);
    PopupMenu1->addSeparator();
    menuItem(PopupMenu1, "Delete1", "&Delete", &TForm1::Delete1Click);
    menuItem(PopupMenu1, "Rename1", "&Rename", &TForm1::Rename1Click);
    PopupMenu1->addSeparator();
    menuItem(PopupMenu1, "Properties1", "&Properties", &TForm1::Properties1Click);
}

void TForm1::guarded(const std::function<void()>& command) {
    runGuarded(prompt_, command);
}

// The list in the order of reports.dat, and the results tables' sort column
// back to 0 for this run of the program.
void TForm1::FormCreate() {
    guarded([this] { fillReportList(); });
    guarded([this] { settingsStore_.writeSortIndex(0); });
}

void TForm1::fillReportList() {
    ListView1->setUpdatesEnabled(false);
    for (const auto& name : profiles_.listReportNames())
        addReport(name);
    ListView1->setUpdatesEnabled(true);
}

std::optional<std::string> TForm1::selectedReport() const {
    const auto selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return reportName(*selected.front());
}

std::vector<std::string> TForm1::reportNames() const {
    std::vector<std::string> names;
    for (int row = 0; row < ListView1->count(); ++row)
        names.push_back(reportName(*ListView1->item(row)));
    return names;
}

void TForm1::addReport(const std::string& name) {
    auto* item = new QListWidgetItem(reportIcon(), displayText(name), ListView1);
    item->setData(Qt::UserRole, QByteArray::fromStdString(name));
    item->setToolTip(item->text());
}

void TForm1::removeReport(const std::string& name) {
    for (int row = 0; row < ListView1->count(); ++row) {
        if (reportName(*ListView1->item(row)) == name) {
            removeEntry(ListView1->item(row));
            return;
        }
    }
}

// The list would make the next entry current and selected; a report is
// chosen only by the user, so none is selected after a removal.
void TForm1::removeEntry(QListWidgetItem* item) {
    const bool chosen = item->isSelected() || item == ListView1->currentItem();
    delete item;
    if (chosen) {
        ListView1->setCurrentItem(nullptr);
        ListView1->clearSelection();
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_ || event->spontaneous())
        return;
    shown_ = true;
    FormShow();
}

// The stored size, then the report named on the command line, run once the
// window is on screen.
void TForm1::FormShow() {
    guarded([this] { restoreWindowSize(*this, settingsStore_, "Form1"); });
    centreOnScreen(*this);
    if (startup_.report)
        QTimer::singleShot(0, this, [this] { guarded([this] { runStartupReport(); }); });
}

void TForm1::runStartupReport() {
    for (int row = 0; row < ListView1->count(); ++row) {
        QListWidgetItem* item = ListView1->item(row);
        if (ascii::equalsIgnoringCase(reportName(*item), *startup_.report)) {
            item->setSelected(true);
            ListView1->setCurrentItem(item);
            AnalyzeNowButtonClick();
            if (startup_.closeAfterRun)
                actions_.exitProgram();
            return;
        }
    }
}

// A focused button takes Enter itself; Enter that reaches the window from
// elsewhere (the report list) is the default button's, "Analyze Now".
void TForm1::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        AnalyzeNowButtonClick();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    guarded([this] { storeWindowSize(*this, settingsStore_, "Form1"); });
    event->accept();
    actions_.exitProgram();
}

void TForm1::ListView1Click() {
    if (const auto name = selectedReport())
        guarded([&] { StatusBar1->setText(displayText(profiles_.readDescription(*name))); });
}

void TForm1::showRunNotice(const std::optional<std::string>& notice) {
    if (runNotice_.isEmpty() || StatusBar1->text() != runNotice_)
        textBeforeNotice_ = StatusBar1->text();
    runNotice_ = notice ? displayText(*notice) : QString();
    StatusBar1->setText(notice ? runNotice_ : textBeforeNotice_);
}

void TForm1::ListView1DblClick() {
    if (selectedReport())
        AnalyzeNowButtonClick();
}

void TForm1::ListView1ContextPopup(const QPoint& position) {
    PopupMenu1->popup(ListView1->viewport()->mapToGlobal(position));
}

void TForm1::NewReportButtonClick() {
    actions_.openProperties(PropertiesMode::New);
}

void TForm1::ModifyReportButtonClick() {
    if (selectedReport())
        actions_.openProperties(PropertiesMode::Modify);
    else
        prompt_.showMessage(kSelectToModifyMessage, MessageIcon::Information);
}

void TForm1::DeleteReportButtonClick() {
    if (selectedReport())
        deleteSelectedReport();
    else
        prompt_.showMessage(kSelectToDeleteMessage, MessageIcon::Information);
}

// A failed write leaves the entry and the status text as they were.
void TForm1::deleteSelectedReport() {
    if (isBeingAnalyzed(*selectedReport()))
        return prompt_.showMessage(kReportBeingAnalyzedMessage, MessageIcon::Information);
    if (!prompt_.ask(kDeleteQuestion))
        return;
    guarded([this] {
        const std::string name = *selectedReport();
        profiles_.eraseProfile(name);
        removeEntry(ListView1->selectedItems().front());
        StatusBar1->setText(kReportDeletedText);
    });
}

void TForm1::UpdateCheckButtonClick() {
    actions_.openWebAddress(updatePageAddress());
}

void TForm1::AnalyzeNowButtonClick() {
    actions_.runAnalysis(selectedReport());
}

void TForm1::ExitButtonClick() {
    close();
}

void TForm1::HelpButtonClick() {
    actions_.showHelpContents();
}

// Ends the program at once: the window's size is not stored.
void TForm1::Exit1Click() {
    actions_.exitProgram();
}

void TForm1::Options1Click() {
    actions_.showOptions();
}

void TForm1::WebSite1Click() {
    actions_.openWebAddress(homePageAddress());
}

void TForm1::AboutStatvane1Click() {
    dialogs_.showMessage(this, "About Statvane", kAboutText, MessageIcon::Information);
}

void TForm1::Analyze1Click() {
    AnalyzeNowButtonClick();
}

void TForm1::Delete1Click() {
    if (selectedReport())
        deleteSelectedReport();
}

void TForm1::Rename1Click() {
    if (selectedReport())
        actions_.openProperties(PropertiesMode::Rename);
}

void TForm1::Properties1Click() {
    if (selectedReport())
        actions_.openProperties(PropertiesMode::Modify);
}

} // namespace statvane
