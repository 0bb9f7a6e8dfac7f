#include "gui/results_window.h"

#include "analysis/figure_rows.h"
#include "gui/busy_cursor.h"
#include "gui/clipboard_copy.h"
#include "gui/command_guard.h"
#include "gui/figure_table_model.h"
#include "gui/figure_table_view.h"
#include "gui/help_key.h"
#include "gui/help_window.h"
#include "gui/message_boxes.h"
#include "gui/report_save_dialog.h"
#include "gui/results_overview_page.h"
#include "gui/results_pages.h"
#include "gui/status_page.h"
#include "gui/tally_table_model.h"
#include "gui/traffic_page.h"
#include "gui/visitor_list_model.h"
#include "gui/visitor_lookup.h"
#include "gui/window_size.h"
#include "net/web/web_launching.h"
#include "output/report_delivery.h"
#include "platform/resolver_library.h"
#include "profiles/profile_store.h"
#include "settings/settings_store.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace statvane {
namespace {

constexpr QSize kDesignSize(640, 440);
constexpr const char* kNoAddressMessage =
    "Your request could not be processed since there is no e-mail address listed under this "
    "report's properties.";

QAction* menuAction(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

} // namespace

TForm5::TForm5(ResultsWindowContext context, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      context_(std::move(context)), prompt_(context_.dialogs, this) {
    setObjectName("Form5");
    setWindowTitle(tr("Report Profile"));
    buildControls();
    buildMenus();
    showFigurePages();
    setFixedSize(firstShowSize(*this, kDesignSize));
    lookup_ = new VisitorLookup(this);
    connect(lookup_, &VisitorLookup::answered, this, &TForm5::takeLookupAnswer);
}

TForm5::~TForm5() = default;

void TForm5::buildControls() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    overview_ = new ResultsOverviewPage(PageControl1);
    PageControl1->addTab(overview_, tr("Overview"));

    visitors_ = new VisitorListModel(this);
    ListBox1 = newListView("ListBox1", visitors_);
    addExplainedPage(*PageControl1, tr("Visitors List"), "Label9",
                     tr("This box shows all of the visitors that browsed your site.  To resolve a "
                        "visitor's IP address, double-click on their item in the listbox."),
                     ListBox1);
    buildTallyPages();
    buildRobotsTable();
    traffic_ = new TrafficPage(PageControl1);
    PageControl1->addTab(traffic_, tr("Traffic"));
    status_ = new StatusPage(PageControl1);
    PageControl1->addTab(status_, tr("Status"));
    PageControl1->setCurrentIndex(0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(buildButtons());

    connect(ListBox1, &QAbstractItemView::doubleClicked, this, &TForm5::ListBox1DblClick);
    connect(ListView1, &QAbstractItemView::doubleClicked, this, &TForm5::ListView1DblClick);
    connect(ListView2, &QAbstractItemView::doubleClicked, this, &TForm5::ListView2DblClick);
}

// The pages of the three counted tables, in tab order: each its table with
// its headings under its explanation, a header click sorting it.
void TForm5::buildTallyPages() {
    static const struct {
        const char* title;
        const char* textName;
        const char* text;
        const char* headings[3];
        const char* viewName;
        TallyTableModel* TForm5::*model;
        QTableView* TForm5::*view;
        void (TForm5::*columnClick)(int);
    } pages[] = {
        {QT_TR_NOOP("Referrer List"),
         "Label10",
         QT_TR_NOOP("This tab lists all sites that visitor's came from before going to your web "
                    "site. Double-click on any web site to go visit it."),
         {QT_TR_NOOP("URL Address"), QT_TR_NOOP("Number of Referrals"), QT_TR_NOOP("Percent")},
         "ListView1",
         &TForm5::referrers_,
         &TForm5::ListView1,
         &TForm5::ListView1ColumnClick},
        {QT_TR_NOOP("Top Pages"),
         "Label14",
         QT_TR_NOOP("This site lists all the pages that were requested at your site, followed by "
                    "the frequency at which they were requested and the percentage of total hits "
                    "they comprise."),
         {QT_TR_NOOP("URL Address"), QT_TR_NOOP("Number"), QT_TR_NOOP("Percentage")},
         "ListView2",
         &TForm5::topPages_,
         &TForm5::ListView2,
         &TForm5::ListView2ColumnClick},
        {QT_TR_NOOP("Browser List"),
         "Label20",
         QT_TR_NOOP("This list shows the various browsers that were used to access the web site, "
                    "along with the frequency in which they were used. "),
         {QT_TR_NOOP("Browser"), QT_TR_NOOP("Number"), QT_TR_NOOP("Percentage")},
         "ListView3",
         &TForm5::browsers_,
         &TForm5::ListView3,
         &TForm5::ListView3ColumnClick},
    };
    for (const auto& page : pages) {
        auto* model = new TallyTableModel(
            {tr(page.headings[0]), tr(page.headings[1]), tr(page.headings[2])}, this);
        QTableView* view = newTableView(page.viewName, model);
        addExplainedPage(*PageControl1, tr(page.title), page.textName, tr(page.text), view);
        connect(view->horizontalHeader(), &QHeaderView::sectionClicked, this, page.columnClick);
        this->*page.model = model;
        this->*page.view = view;
    }
}

// Below the browsers, on their page. A table of its own rows, as the status
// tables are: the report orders the robots by count whatever the sort value
// "Index" says, so a heading click here orders this view only.
void TForm5::buildRobotsTable() {
    robots_ =
        new FigureTableModel({tr("Robot"), tr("Number"), tr("Percentage")}, KeyOrder::Bytes, this);
    RobotsTable = newFigureTableView("RobotsTable", robots_);
    RobotsLabel = new QLabel(tr("Robots (by their agent text):"), this);
    RobotsLabel->setObjectName("RobotsLabel");
    RobotsLabel->setBuddy(RobotsTable);
    auto* browserPage = static_cast<QBoxLayout*>(ListView3->parentWidget()->layout());
    browserPage->addWidget(RobotsLabel);
    browserPage->addWidget(RobotsTable, 1);
}

QWidget* TForm5::buildButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->addStretch();
    const auto button = [&](const char* name, const QString& caption, void (TForm5::*handler)()) {
        auto* pushButton = new QPushButton(caption, row);
        pushButton->setObjectName(name);
        connect(pushButton, &QPushButton::clicked, this, handler);
        layout->addWidget(pushButton);
        return pushButton;
    };
    Button3 = button("Button3", tr("&Mail"), &TForm5::Button3Click);
    Button4 = button("Button4", tr("&Save"), &TForm5::Button4Click);
    Button2 = button("Button2", tr("&Help"), &TForm5::Button2Click);
    bindHelpKey(*this, *Button2);
    Button1 = button("Button1", tr("&Ok"), &TForm5::Button1Click);
    Button1->setDefault(true);
    Button1->setAutoDefault(true);
    return row;
}

// The "&Copy" entries answer Ctrl+C in the lists that carry their menu.
void TForm5::buildMenus() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    Resolve1 = menuAction(PopupMenu1, "Resolve1", tr("&Resolve"));
    Copy1 = menuAction(PopupMenu1, "Copy1", tr("&Copy"));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName("PopupMenu2");
    Launch1 = menuAction(PopupMenu2, "Launch1", tr("&Launch"));
    Copy2 = menuAction(PopupMenu2, "Copy2", tr("&Copy"));
    for (QAction* copy : {Copy1, Copy2}) {
        copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
        copy->setShortcutContext(Qt::WidgetShortcut);
    }
    ListBox1->addAction(Copy1);
    ListView1->addAction(Copy2);
    ListView2->addAction(Copy2);
    new CopyKeyFilter(Copy1, ListBox1);
    new CopyKeyFilter(Copy2, ListView1);
    new CopyKeyFilter(Copy2, ListView2);
    connect(Resolve1, &QAction::triggered, this, &TForm5::Resolve1Click);
    connect(Copy1, &QAction::triggered, this, &TForm5::Copy1Click);
    connect(Launch1, &QAction::triggered, this, &TForm5::Launch1Click);
    connect(Copy2, &QAction::triggered, this, &TForm5::Copy2Click);
    const auto popup = [this](QAbstractItemView* view, QMenu* menu) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, menu, [view, menu](QPoint position) {
            menu->popup(view->viewport()->mapToGlobal(position));
        });
    };
    popup(ListBox1, PopupMenu1);
    popup(ListView1, PopupMenu2);
    popup(ListView2, PopupMenu2);
}

void TForm5::showResult(AnalysisResult result) {
    takeResult(std::move(result));
    if (!isVisible())
        centreOnScreen(*this);
    show();
    raise();
    activateWindow();
}

void TForm5::keepClosed(AnalysisResult result) {
    takeResult(std::move(result));
    FormClose();
}

void TForm5::takeResult(AnalysisResult result) {
    result_ = std::move(result);
    setWindowTitle(QString::fromStdString(result_.title()));
    overview_->showFigures(result_);
    showLists();
}

// Another result, or none: a look-up under way answers for none of its lines.
void TForm5::showLists() {
    ++resultNumber_;
    visitors_->setVisitors(&result_.visitors);
    referrers_->setTable(&result_.referrers);
    topPages_->setTable(&result_.topPages);
    browsers_->setTable(&result_.browsers);
    showFigurePages();
}

// The traffic and status tabs, and the robots below the browsers, are there
// only for a result that has their figures, so that the window of a run that
// selects none of them is as before.
void TForm5::showFigurePages() {
    robots_->setRows(result_.robots ? addressRows(*result_.robots) : std::vector<FigureRow>());
    robots_->sortByColumn(1);
    RobotsLabel->setVisible(result_.robots.has_value());
    RobotsTable->setVisible(result_.robots.has_value());
    traffic_->showFigures(result_.traffic);
    status_->showFigures(result_.status);
    PageControl1->setTabVisible(PageControl1->indexOf(traffic_), result_.traffic.has_value());
    PageControl1->setTabVisible(PageControl1->indexOf(status_), result_.status.has_value());
}

void TForm5::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TForm5::FormShow() {
    guarded([this] { restoreWindowSize(*this, context_.settingsStore, "Form5"); });
}

void TForm5::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm5::FormClose() {
    guarded([this] { storeWindowSize(*this, context_.settingsStore, "Form5"); });
    visitors_->clear();
}

void TForm5::Button1Click() {
    result_.reset();
    showLists();
    overview_->clearFigures();
    close();
}

void TForm5::Button2Click() {
    context_.help.showTopic(4);
}

void TForm5::Button3Click() {
    guarded([this] { saveReportAs(true); });
}

void TForm5::Button4Click() {
    guarded([this] { saveReportAs(false); });
}

// The report file, then for "&Mail" its delivery: the busy cursor stays
// until the delivery ends.
void TForm5::saveReportAs(bool thenMail) {
    const std::optional<std::string> report = context_.selectedReport();
    const auto profileText = [&](const char* key) {
        return report ? context_.profiles.readText(*report, key).value_or("") : std::string();
    };
    context_.saveDialog.setFileName(QFile::decodeName(profileText("Output").c_str()));
    const std::optional<QString> chosen = context_.saveDialog.choose(this);
    if (!chosen || chosen->isEmpty())
        return;
    const std::filesystem::path file(QFile::encodeName(*chosen).toStdString());
    BusyCursor busy;
    sortTablesByCount();
    const auto recipients = [&]() -> std::optional<std::string> {
        return thenMail ? std::optional(profileText("E-Mail Address")) : std::nullopt;
    };
    const auto start = [&](const std::string& addresses) {
        if (addresses.empty()) {
            prompt_.showMessage(tr(kNoAddressMessage).toStdString(), MessageIcon::Information);
            return false;
        }
        return context_.mailReport(file, addresses);
    };
    if (saveThenMail(result_, context_.settingsStore, file, {recipients, start}) ==
        MailStart::Started) {
        busy.keep();
        mailCursor_ = true;
    }
}

void TForm5::mailEnded() {
    if (!mailCursor_)
        return;
    mailCursor_ = false;
    QApplication::restoreOverrideCursor();
}

// Writing the report sorts every table by count. Sorted first through the
// models, each selection follows its row whether the file is written or not;
// the writer's own sort then keeps that order.
void TForm5::sortTablesByCount() {
    for (TallyTableModel* model : {referrers_, topPages_, browsers_})
        model->sortByColumn(1);
}

void TForm5::ListBox1DblClick() {
    Resolve1Click();
}

// The look-up runs on a worker thread. While it, or a run, uses the resolver
// library, a further request does nothing.
void TForm5::Resolve1Click() {
    guarded([this] {
        if (lookup_->busy() || context_.runUnderWay())
            return;
        const QModelIndexList selected = ListBox1->selectionModel()->selectedIndexes();
        if (selected.isEmpty())
            return;
        const ResolverLibrary library(context_.programDirectory);
        if (!library.connection())
            return;
        const int row = selected.front().row();
        asked_ = {row, visitors_->line(row), resultNumber_};
        lookup_->start(library, asked_.text);
    });
}

// The name replaces the line it was asked for, unless the window's result
// changed meanwhile or the line no longer holds the text that was asked.
void TForm5::takeLookupAnswer() {
    guarded([this] {
        std::optional<std::string> name = lookup_->answer();
        if (name && asked_.resultNumber == resultNumber_ && asked_.row < visitors_->rowCount() &&
            visitors_->line(asked_.row) == asked_.text)
            visitors_->replace(asked_.row, std::move(*name));
    });
}

void TForm5::Copy1Click() {
    const QModelIndexList selected = ListBox1->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    copyToClipboard(visitors_->line(selected.front().row()));
}

const TallyRow* TForm5::selectedRow(QTableView* view) const {
    const QModelIndexList selected = view->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return nullptr;
    return static_cast<TallyTableModel*>(view->model())->rowAt(selected.front().row());
}

const TallyRow* TForm5::selectedAddressRow() const {
    const TallyRow* row = selectedRow(ListView1);
    return row ? row : selectedRow(ListView2);
}

void TForm5::Launch1Click() {
    if (const TallyRow* row = selectedAddressRow())
        openWebAddress(context_.settings, std::string(row->key()));
}

void TForm5::Copy2Click() {
    if (const TallyRow* row = selectedAddressRow())
        copyToClipboard(std::string(row->key()));
}

void TForm5::openAddress(QTableView* view) {
    if (const TallyRow* row = selectedRow(view))
        openWebAddress(context_.settings, std::string(row->key()));
}

void TForm5::ListView1DblClick() {
    openAddress(ListView1);
}

void TForm5::ListView2DblClick() {
    openAddress(ListView2);
}

void TForm5::ListView1ColumnClick(int column) {
    sortTable(*referrers_, column);
}

void TForm5::ListView2ColumnClick(int column) {
    sortTable(*topPages_, column);
}

void TForm5::ListView3ColumnClick(int column) {
    sortTable(*browsers_, column);
}

// The column is stored before and after the sort; there is no toggling.
void TForm5::sortTable(TallyTableModel& model, int column) {
    guarded([&] {
        context_.settingsStore.writeSortIndex(column);
        model.sortByColumn(column);
        context_.settingsStore.writeSortIndex(column);
    });
}

void TForm5::guarded(const std::function<void()>& command) {
    runGuarded(prompt_, command);
}

} // namespace statvane
