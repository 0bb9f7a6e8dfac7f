#include "gui/main_window.h"

#include "gui/action_button.h"
#include "gui/command_guard.h"
#include "gui/display_text.h"
#include "gui/message_boxes.h"
#include "gui/report_icon.h"
#include "gui/window_size.h"
#include "net/web/web_launching.h"
#include "platform/ascii.h"
#include "profiles/listed_reports.h"
#include "profiles/profile_store.h"
#include "run/analysis_run.h"
#include "settings/settings_store.h"

#include <QAction>
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

TForm1::TForm1(ProfileStore& profiles, SettingsStore& settingsStore, ListedReports& reports,
               Dialogs& dialogs, MainWindowActions& actions, StartupRun startup)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
      profiles_(profiles), settingsStore_(settingsStore), reports_(reports), dialogs_(dialogs),
      prompt_(dialogs, this), actions_(actions), startup_(std::move(startup)) {
    setObjectName("Form1");
    setWindowTitle(kApplicationTitle);
    buildCommands();
    buildControls();
    reports_.onAdded = [this](const std::string& name) { appendEntry(name); };
    reports_.onRemoved = [this](std::size_t row) {
        removeEntry(ListView1->item(static_cast<int>(row)));
    };
    buildMenus();
    buildPopupMenu();
    resize(
        firstShowSize(*this, kDesignClientSize + QSize(0, menuBar()->sizeHint().height() +
                                                              statusBar()->sizeHint().height())));
    FormCreate();
}

// One action per command, shared by its button, its menu item and its
// shortcut. The actions stay enabled: a command that needs a selected report
// says so when there is none.
void TForm1::buildCommands() {
    commands_.newReport = command("NewReport1", tr("&New Report"),
                                  [this] { actions_.openProperties(PropertiesMode::New); });
    commands_.modifyReport =
        command("ModifyReport1", tr("&Modify Report"), [this] { modifyReport(Unselected::Tell); });
    commands_.deleteReport =
        command("DeleteReport1", tr("&Delete Report"), [this] { deleteReport(Unselected::Tell); });
    // Ends the program at once: unlike closing the window, the window's size
    // is not stored.
    commands_.exitProgram = command("Exit1", tr("E&xit"), [this] { actions_.exitProgram(); });
    commands_.options = command("Options1", tr("&Options"), [this] { actions_.showOptions(); });
    commands_.updateCheck = command("UpdateCheck1", tr("&Update Check"),
                                    [this] { actions_.openWebAddress(updatePageAddress()); });
    commands_.contents =
        command("Contents1", tr("&Contents"), [this] { actions_.showHelpContents(); });
    commands_.contents->setShortcut(QKeySequence(Qt::Key_F1));
    commands_.webSite = command("WebSite1", tr("&Web Site"),
                                [this] { actions_.openWebAddress(homePageAddress()); });
    commands_.about = command("AboutStatvane1", tr("&About Statvane..."), [this] { showAbout(); });
    commands_.analyze = command("Analyze1", tr("&Analyze..."), [this] { analyzeNow(); });
    commands_.remove =
        command("Delete1", tr("&Delete"), [this] { deleteReport(Unselected::Ignore); });
    commands_.rename = command("Rename1", tr("&Rename"), [this] { renameReport(); });
    commands_.properties =
        command("Properties1", tr("&Properties"), [this] { modifyReport(Unselected::Ignore); });
    commands_.closeWindow = command("CloseWindow", {}, [this] { close(); });
}

QAction* TForm1::command(const char* name, const QString& text, std::function<void()> handler) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, std::move(handler));
    return action;
}

void TForm1::buildControls() {
    auto* client = new QWidget(this);
    auto* layout = new QGridLayout(client);
    Label1 = new QLabel(tr("Re&ports:"), client);
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
    connect(deleteKey, &QShortcut::activated, commands_.deleteReport, &QAction::trigger);

    layout->addWidget(Label1, 0, 0);
    layout->addWidget(ListView1, 1, 0, 8, 1);
    int row = 1;
    const auto button = [&](const char* name, QAction* action, const QString& caption) {
        auto* button = new QPushButton(client);
        button->setObjectName(name);
        button->setAutoDefault(true);
        action->setIconText(caption);
        bindButton(*button, *action);
        layout->addWidget(button, row++, 1);
        return button;
    };
    button("NewReportButton", commands_.newReport, tr("&New Report"));
    button("ModifyReportButton", commands_.modifyReport, tr("&Modify Report"));
    button("DeleteReportButton", commands_.deleteReport, tr("&Delete Report"));
    button("UpdateCheckButton", commands_.updateCheck, tr("&Update Check"));
    layout->setRowStretch(row++, 1);
    AnalyzeNowButton = button("AnalyzeNowButton", commands_.analyze, tr("&Analyze Now"));
    AnalyzeNowButton->setDefault(true);
    button("HelpButton", commands_.contents, tr("&Help"));
    button("ExitButton", commands_.closeWindow, tr("&Exit"));
    layout->setColumnStretch(0, 1);
    setCentralWidget(client);

    StatusBar1 = new QLabel(tr(kStartStatusText), this);
    StatusBar1->setObjectName("StatusBar1");
    statusBar()->addWidget(StatusBar1, 1);
    statusBar()->setSizeGripEnabled(true);
}

void TForm1::buildMenus() {
    QMenu* reports = menuBar()->addMenu(tr("&Reports"));
    reports->setObjectName("Reports1");
    reports->addActions({commands_.newReport, commands_.modifyReport, commands_.deleteReport});
    reports->addSeparator();
    reports->addAction(commands_.exitProgram);

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    tools->setObjectName("Tools1");
    tools->addActions({commands_.options, commands_.updateCheck});

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName("Help1");
    help->addActions({commands_.contents, commands_.webSite});
    help->addSeparator();
    help->addAction(commands_.about);
}

void TForm1::buildPopupMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    PopupMenu1->addAction(commands_.analyze);
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({commands_.remove, commands_.rename});
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(commands_.properties);
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
        reports_.add(name);
    ListView1->setUpdatesEnabled(true);
}

std::optional<std::string> TForm1::selectedReport() const {
    const auto selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return reportName(*selected.front());
}

const std::vector<std::string>& TForm1::reportNames() const {
    return reports_.names();
}

void TForm1::addReport(const std::string& name) {
    reports_.add(name);
}

void TForm1::removeReport(const std::string& name) {
    reports_.remove(name);
}

void TForm1::appendEntry(const std::string& name) {
    auto* item = new QListWidgetItem(reportIcon(), displayText(name), ListView1);
    item->setData(Qt::UserRole, QByteArray::fromStdString(name));
    item->setToolTip(item->text());
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
            analyzeNow();
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
        analyzeNow();
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
        analyzeNow();
}

void TForm1::ListView1ContextPopup(const QPoint& position) {
    PopupMenu1->popup(ListView1->viewport()->mapToGlobal(position));
}

// Whether a report is selected; without one, a command of the buttons and
// the menu bar says what to select, one of the list's context menu does
// nothing.
bool TForm1::reportSelected(Unselected unselected, const char* selectMessage) {
    if (selectedReport())
        return true;
    if (unselected == Unselected::Tell)
        prompt_.showMessage(tr(selectMessage).toStdString(), MessageIcon::Information);
    return false;
}

void TForm1::modifyReport(Unselected unselected) {
    if (reportSelected(unselected, kSelectToModifyMessage))
        actions_.openProperties(PropertiesMode::Modify);
}

void TForm1::deleteReport(Unselected unselected) {
    if (reportSelected(unselected, kSelectToDeleteMessage))
        deleteSelectedReport();
}

void TForm1::renameReport() {
    if (reportSelected(Unselected::Ignore, nullptr))
        actions_.openProperties(PropertiesMode::Rename);
}

// A failed write leaves the entry and the status text as they were.
void TForm1::deleteSelectedReport() {
    if (actions_.isBeingAnalyzed(*selectedReport()))
        return prompt_.showMessage(kReportBeingAnalyzedMessage, MessageIcon::Information);
    if (!prompt_.ask(tr(kDeleteQuestion).toStdString()))
        return;
    guarded([this] {
        const std::string name = *selectedReport();
        profiles_.eraseProfile(name);
        reports_.remove(name);
        StatusBar1->setText(tr(kReportDeletedText));
    });
}

void TForm1::analyzeNow() {
    actions_.runAnalysis(selectedReport());
}

void TForm1::showAbout() {
    dialogs_.showMessage(this, tr("About Statvane"), tr(kAboutText), MessageIcon::Information);
}

} // namespace statvane
