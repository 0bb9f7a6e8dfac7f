#include "gui/desktop_fixture.h"
#include "gui/display_text.h"
#include "gui/results_window.h"
#include "output/mail_delivery.h"
#include "output/sign_in_failure_message.h"
#include "peers/peer_process.h"
#include "peers/scripted_smtp.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace statvane::test {
namespace {

using Kind = ShownDialog::Kind;
namespace keys = registry_keys;

constexpr const char* kAllLists = "Visitors=1\r\nReferrers=1\r\nPages=1\r\nBrowser=1\r\n"
                                  "Total Options=4\r\n";

// Six hits; the tables' rows in first-seen order are
//   referrers ref-b (1), ref-a (4), ref-c (1)
//   pages     mid.html (2), Zeta.html (1), alpha.html (3)
//   browsers  Agent B (4), Agent A (2).
constexpr const char* kLog =
    "10.0.0.2 - - [09/Nov/2026:12:00:00 +0000] \"GET /mid.html HTTP/1.0\" 200 512 "
    "\"http://ref-b.example/\" \"Agent B\"\n"
    "10.0.0.10 - - [09/Nov/2026:12:00:01 +0000] \"GET /Zeta.html HTTP/1.0\" 200 512 "
    "\"http://ref-a.example/\" \"Agent A\"\n"
    "10.0.0.1 - - [09/Nov/2026:12:00:02 +0000] \"GET /alpha.html HTTP/1.0\" 200 512 "
    "\"http://ref-a.example/\" \"Agent B\"\n"
    "10.0.0.2 - - [09/Nov/2026:12:00:03 +0000] \"GET /alpha.html HTTP/1.0\" 200 512 "
    "\"http://ref-c.example/\" \"Agent B\"\n"
    "10.0.0.1 - - [09/Nov/2026:12:00:04 +0000] \"GET /mid.html HTTP/1.0\" 200 512 "
    "\"http://ref-a.example/\" \"Agent A\"\n"
    "10.0.0.3 - - [10/Nov/2026:12:00:05 +0000] \"GET /alpha.html HTTP/1.0\" 200 512 "
    "\"http://ref-a.example/\" \"Agent B\"\n";

// The figure labels, row by row: total, average.
const char* const kFigureLabels[] = {"Label4",  "Label11", "Label5",  "Label12",
                                     "Label6",  "Label13", "Label16", "Label17",
                                     "Label21", "Label23", "Label22", "Label24"};

class ResultsWindowTest : public DesktopFixture {
  protected:
    ResultsWindowTest() { writeFile(log_, kLog); }

    // A report over the fixture log shown in the window, with extra settings.
    void addShownReport(const std::string& name, const std::string& settings = {}) {
        addReport(name, kAllLists + settings, "File 0=" + log_.string() + "\r\n");
    }
    void runShownReport(const std::string& settings = {}) {
        addShownReport("Shown", settings);
        start();
        select("Shown");
        click("AnalyzeNowButton");
    }

    TForm5& window() { return desktop().resultsWindow(); }
    QWidget& windowUnderTest() override { return window(); }
    template <typename T> T* part(const char* name) { return control<T>(window(), name); }
    QTableView* table(const char* name) { return part<QTableView>(name); }
    QString figure(const char* name) { return part<QLabel>(name)->text(); }

    QStringList column(const char* view, int column = 0) {
        QAbstractItemModel* model = table(view)->model();
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, column).data().toString();
        return texts;
    }
    QStringList visitorLines() {
        QAbstractItemModel* model = part<QListView>("ListBox1")->model();
        QStringList lines;
        for (int row = 0; row < model->rowCount(); ++row)
            lines << model->index(row, 0).data().toString();
        return lines;
    }
    void clickHeader(const char* view, int section) {
        QHeaderView* header = table(view)->horizontalHeader();
        const QPoint place(header->sectionViewportPosition(section) +
                               header->sectionSize(section) / 2,
                           header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, place);
    }
    // The tab in front and laid out, for clicks on its controls.
    void showTab(int tab) {
        part<QTabWidget>("PageControl1")->setCurrentIndex(tab);
        QCoreApplication::processEvents();
    }
    // A click that selects the row, then a double-click on it.
    static void doubleClickRow(QAbstractItemView* view, int row) {
        const QPoint place = view->visualRect(view->model()->index(row, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, place);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, place);
    }
    void selectVisitor(int row) {
        auto* list = part<QListView>("ListBox1");
        list->setCurrentIndex(list->model()->index(row, 0));
    }
    // The table resolver in the program directory, answering from `names`
    // and recording in asked_ every address it is asked.
    void useTableResolver(const std::string& names) {
        std::filesystem::copy_file(TABLE_RESOLVER, home() / "resolve.so");
        writeFile(dir_ / "names", names);
    }
    // A look-up that "&Resolve" started has answered: its busy cursor is gone.
    static void waitForLookup() {
        EXPECT_TRUE(
            QTest::qWaitFor([] { return QApplication::overrideCursor() == nullptr; }, 10000));
    }
    static bool lookupUnderWay() {
        return QApplication::overrideCursor() &&
               QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    }
    // The last argument of the browser's next start.
    std::string launchedAddress() {
        const std::string starts = takeBrowserStart();
        const auto start = starts.rfind(std::string(1, '\0'), starts.size() - 2);
        return starts.empty() ? std::string() : starts.substr(start + 1, starts.size() - start - 2);
    }
    static std::string clipboardText() {
        return QApplication::clipboard()->mimeData()->data("text/plain").toStdString();
    }

    // The mail server on loopback, a sender and further values.
    void writeMailSettings(quint16 port, const std::string& values = {}) {
        writeFile(settingsFile(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Velmor "
                                  "Software\\Statvane\\Settings]\r\n\"Server\"=\"127.0.0.1:" +
                                      std::to_string(port) +
                                      "\"\r\n\"From\"=\"me@example.com\"\r\n" + values);
    }

    std::filesystem::path log_ = dir_ / "access.log";
    std::filesystem::path asked_ = dir_ / "asked";
    ScopedEnv resolverTable_{"STATVANE_TEST_RESOLVER_TABLE", (dir_ / "names").string()};
    ScopedEnv resolverLog_{"STATVANE_TEST_RESOLVER_LOG", asked_.string()};
};

TEST_F(ResultsWindowTest, EveryFigureIsNotSelectedUntilARunFillsTheWindow) {
    ScopedEnv helpFolder("STATVANE_HELP_DIR", HELP_BUILD_DIR);
    start();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(window().windowTitle(), "Report Profile");
    for (const char* label : kFigureLabels)
        EXPECT_EQ(figure(label), "Not Selected") << label;
    auto* tabs = part<QTabWidget>("PageControl1");
    QStringList titles;
    for (int tab = 0; tab < tabs->count(); ++tab)
        if (tabs->isTabVisible(tab))
            titles << tabs->tabText(tab);
    EXPECT_EQ(titles, QStringList({"Overview", "Visitors List", "Referrer List", "Top Pages",
                                   "Browser List"}));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(part<QGroupBox>("GroupBox1")->title(), "Summary && Totals:");
    EXPECT_TRUE(part<QLabel>("Label7")->font().bold());
    EXPECT_TRUE(part<QPushButton>("Button1")->isDefault());
    EXPECT_EQ(table("ListView1")->model()->headerData(1, Qt::Horizontal).toString(),
              "Number of Referrals");

    press("Button2");
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::any_of(windows.begin(), windows.end(), [](QWidget* shown) {
        return shown->windowTitle() == "Statvane Help" && shown->isVisible();
    }));
}

TEST_F(ResultsWindowTest, ARunShowsItsFiguresListsAndTablesInTheirOrder) {
    runShownReport();
    ASSERT_TRUE(window().isVisible());
    EXPECT_EQ(window().windowTitle().toStdString(), window().result().title());
    EXPECT_TRUE(window().windowTitle().startsWith("Report Profile - "));
    const std::pair<const char*, const char*> figures[] = {
        {"Label4", "6"},
        {"Label11", "6"},
        {"Label5", "4"},
        {"Label12", "4"},
        {"Label6", "3"},
        {"Label13", "3"},
        {"Label16", "Not Selected"},
        {"Label24", "Not Selected"},
    };
    for (const auto& [label, text] : figures)
        EXPECT_EQ(figure(label), text) << label;
    EXPECT_EQ(visitorLines(), QStringList({"10.0.0.1", "10.0.0.10", "10.0.0.2", "10.0.0.3"}));
    EXPECT_EQ(column("ListView1", 1), QStringList({"1", "4", "1"}));
    EXPECT_EQ(column("ListView1", 2),
              QStringList({"16.6666666666667", "66.6666666666667", "16.6666666666667"}));
    EXPECT_TRUE(column("ListView2")[1].endsWith("Zeta.html"));
    EXPECT_TRUE(column("ListView3")[0].contains("Agent B"));
    EXPECT_EQ(column("ListView3", 1), QStringList({"4", "2"}));
    EXPECT_TRUE(dialogs.shown().empty());
}

// The sort column is stored before and after each sort; a click never
// reverses the order, and the tables not clicked keep theirs.
TEST_F(ResultsWindowTest, AHeaderClickSortsItsTableByThatColumn) {
    runShownReport();
    const QStringList byCount = {"alpha.html", "mid.html", "Zeta.html"};
    const QStringList byKey = {"Zeta.html", "alpha.html", "mid.html"};
    const struct {
        int section;
        QStringList pages;
    } clicks[] = {{1, byCount}, {2, byCount}, {0, byKey}, {0, byKey}, {2, byCount}};
    const QStringList referrers = column("ListView1");
    table("ListView2")->selectRow(1);
    const QString selected = column("ListView2")[1];
    for (const auto& click : clicks) {
        clickHeader("ListView2", click.section);
        QStringList pages = column("ListView2");
        for (QString& page : pages)
            page = page.section('/', -1);
        EXPECT_EQ(pages, click.pages) << click.section;
        EXPECT_EQ(storedInteger(keys::kProduct, "Index"), click.section);
        const QModelIndexList rows = table("ListView2")->selectionModel()->selectedRows();
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows[0].data().toString(), selected) << "the selection follows its row";
    }
    EXPECT_EQ(column("ListView1"), referrers);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(ResultsWindowTest, SavingWritesTheReportByCountAndLeavesEveryTableInCountOrder) {
    const auto saved = dir_ / "saved.txt";
    runShownReport("Output=" + (dir_ / "preset.txt").string() + "\r\n");
    clickHeader("ListView3", 0);
    EXPECT_EQ(column("ListView3", 1), QStringList({"2", "4"}));
    clickHeader("ListView1", 0);
    dialogs.answerNextFileDialog({QString::fromStdString(saved.string())});
    press("Button4");

    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, Kind::SaveFile);
    EXPECT_TRUE(dialogs.shown()[0].text.endsWith("preset.txt"))
        << dialogs.shown()[0].text.toStdString();
    const std::string report = readFile(saved);
    EXPECT_LT(report.find("Agent B"), report.find("Agent A"));
    EXPECT_EQ(column("ListView1", 1), QStringList({"4", "1", "1"}));
    EXPECT_EQ(column("ListView2", 1), QStringList({"3", "2", "1"}));
    EXPECT_EQ(column("ListView3", 1), QStringList({"4", "2"}));
    EXPECT_EQ(storedInteger(keys::kProduct, "Index"), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// "&Mail" writes first and mails only a written file to a listed address.
TEST_F(ResultsWindowTest, MailStopsAtACancelledSaveAMissingAddressOrNoConnection) {
    const auto saved = dir_ / "mailed.txt";
    const struct {
        const char* what;
        const char* addresses;
        bool chosen;
        const char* message;
    } cases[] = {
        {"cancelled", "someone@example.com", false, nullptr},
        {"no address", "", true,
         "Your request could not be processed since there is no e-mail address listed under "
         "this report's properties."},
        {"offline", "someone@example.com", true, kNotConnectedMessage},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(saved);
        std::filesystem::remove(home() / "reports.dat");
        std::filesystem::remove(home() / "files.dat");
        dialogs.clearShown();
        runShownReport("Output=" + saved.string() + "\r\nE-Mail Address=" + c.addresses + "\r\n");
        dialogs.answerNextFileDialog(c.chosen ? QStringList{QString::fromStdString(saved.string())}
                                              : QStringList{});
        press("Button3");
        EXPECT_EQ(std::filesystem::exists(saved), c.chosen) << c.what;
        const auto shown = messages();
        ASSERT_EQ(shown.size(), c.message ? 1u : 0u) << c.what;
        if (c.message) {
            EXPECT_EQ(shown[0]->text, c.message) << c.what;
        }
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.what;
        EXPECT_FALSE(desktop().resultsWindow().isHidden()) << c.what;
    }
}

// On line, with no mail server in the settings: the report is written and the
// user is told where to set a server, instead of a failed name look-up.
TEST_F(ResultsWindowTest, MailWithoutAMailServerTellsWhereToSetOne) {
    std::filesystem::copy_file(TABLE_RESOLVER, home() / "resolve.so");
    ScopedEnv connected("STATVANE_TEST_CONNECTED", "1");
    const auto saved = dir_ / "mailed.txt";
    runShownReport("E-Mail Address=you@example.com\r\n");
    dialogs.answerNextFileDialog({QString::fromStdString(saved.string())});
    press("Button3");

    EXPECT_TRUE(std::filesystem::exists(saved));
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->text.toStdString(),
              "No mail server is set.  Please enter one on the Server Settings "
              "tab of Tools, Options.");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Enter presses "&Ok", the default button.
TEST_F(ResultsWindowTest, ClosingKeepsTheFiguresAndTablesAndOkEmptiesEverything) {
    runShownReport();
    window().close();
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(visitorLines().isEmpty());
    EXPECT_EQ(figure("Label4"), "6");
    EXPECT_EQ(column("ListView3").size(), 2);
    EXPECT_EQ(storedInteger(keys::kPositions, "Form5 Width"), window().width());
    EXPECT_EQ(storedInteger(keys::kPositions, "Form5 Height"), window().height());

    click("AnalyzeNowButton");
    ASSERT_TRUE(window().isVisible());
    EXPECT_EQ(visitorLines().size(), 4);
    pressKey(table("ListView3"), Qt::Key_Escape);
    EXPECT_TRUE(window().isVisible());
    pressKey(table("ListView3"), Qt::Key_Return);
    EXPECT_FALSE(window().isVisible());
    for (const char* label : kFigureLabels)
        EXPECT_EQ(figure(label), "Not Selected") << label;
    EXPECT_TRUE(visitorLines().isEmpty());
    for (const char* view : {"ListView1", "ListView2", "ListView3"})
        EXPECT_TRUE(column(view).isEmpty()) << view;
}

// A report saved to a file fills the window without showing it, and leaves it
// as a closed window: figures kept, visitors emptied, size stored.
TEST_F(ResultsWindowTest, AReportSavedToAFileLeavesTheWindowClosedWithItsFigures) {
    const auto output = dir_ / "report.txt";
    addSavedReport("Saved", kAllLists, 4, log_, output);
    start();
    select("Saved");
    click("AnalyzeNowButton");
    EXPECT_TRUE(std::filesystem::exists(output));
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(figure("Label4"), "6");
    EXPECT_TRUE(visitorLines().isEmpty());
    EXPECT_EQ(storedInteger(keys::kPositions, "Form5 Width"), window().width());
}

// The launch goes to the chosen browser, a program that records its start.
TEST_F(ResultsWindowTest, LaunchAndCopyActOnTheReferrerRowBeforeTheTopPagesRow) {
    chooseRecordingBrowser();
    runShownReport();
    table("ListView2")->selectRow(2);
    const std::string page = column("ListView2")[2].toStdString();
    showTab(3);
    doubleClickRow(table("ListView2"), 2);
    EXPECT_EQ(launchedAddress(), page);
    control<QAction>(window(), "Launch1")->trigger();
    EXPECT_EQ(launchedAddress(), page);
    control<QAction>(window(), "Copy2")->trigger();
    EXPECT_EQ(clipboardText(), page);

    table("ListView1")->selectRow(1);
    control<QAction>(window(), "Launch1")->trigger();
    EXPECT_EQ(launchedAddress(), "http://ref-a.example/");
    control<QAction>(window(), "Copy2")->trigger();
    EXPECT_EQ(clipboardText(), "http://ref-a.example/");

    selectVisitor(3);
    part<QListView>("ListBox1")->setFocus();
    control<QAction>(window(), "Copy1")->trigger();
    EXPECT_EQ(clipboardText(), "10.0.0.3");
    EXPECT_EQ(QApplication::clipboard()->text(), "10.0.0.3");
}

// The resolver library answers from a table.
TEST_F(ResultsWindowTest, AResolvedVisitorIsReplacedAtItsPlace) {
    useTableResolver("10.0.0.10 zz.statvane.test\n");
    const struct {
        const char* connected;
        int row;
        bool doubleClick;
        const char* line;
    } cases[] = {
        {"0", 1, false, "10.0.0.10"},
        {"1", 1, true, "zz.statvane.test"},
        {"1", 2, false, "10.0.0.2"},
    };
    runShownReport();
    showTab(1);
    auto* list = part<QListView>("ListBox1");
    for (const auto& c : cases) {
        ScopedEnv connected("STATVANE_TEST_CONNECTED", c.connected);
        selectVisitor(c.row);
        if (c.doubleClick) {
            doubleClickRow(list, c.row);
        } else {
            control<QAction>(window(), "Resolve1")->trigger();
        }
        waitForLookup();
        EXPECT_EQ(visitorLines()[c.row], c.line) << c.connected << c.row;
        EXPECT_EQ(visitorLines().size(), 4);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_TRUE(dialogs.shown().empty());
}

// Each look-up takes a second. Meanwhile events run (a timer fires with the
// look-up under way), a second "&Resolve" or double-click does nothing, and
// the name then replaces the line that was asked, whatever is selected.
TEST_F(ResultsWindowTest, TheWindowRespondsWhileAVisitorIsResolved) {
    useTableResolver("10.0.0.10 zz.statvane.test\n10.0.0.2 yy.statvane.test\n");
    ScopedEnv delay("STATVANE_TEST_RESOLVER_DELAY_MS", "1000");
    runShownReport();
    showTab(1);
    selectVisitor(1);
    std::optional<bool> underWayAtTimer;
    QTimer::singleShot(100, &window(), [&] { underWayAtTimer = lookupUnderWay(); });
    control<QAction>(window(), "Resolve1")->trigger();
    EXPECT_TRUE(lookupUnderWay());
    EXPECT_EQ(visitorLines()[1], "10.0.0.10");
    selectVisitor(2);
    control<QAction>(window(), "Resolve1")->trigger();
    doubleClickRow(part<QListView>("ListBox1"), 2);
    waitForLookup();
    EXPECT_EQ(underWayAtTimer, true);
    EXPECT_EQ(visitorLines(),
              QStringList({"10.0.0.1", "zz.statvane.test", "10.0.0.2", "10.0.0.3"}));
    EXPECT_EQ(readFile(asked_), "10.0.0.10\n");
}

// An answer that comes after the window's result was reset, closed away or
// replaced by the next run is dropped; the busy cursor stays until it comes.
TEST_F(ResultsWindowTest, AnAnswerForAResultThatIsGoneIsDropped) {
    useTableResolver("10.0.0.10 zz.statvane.test\n");
    ScopedEnv delay("STATVANE_TEST_RESOLVER_DELAY_MS", "500");
    const QStringList addresses = {"10.0.0.1", "10.0.0.10", "10.0.0.2", "10.0.0.3"};
    const struct {
        const char* what;
        std::function<void()> meanwhile;
        QStringList lines;
    } cases[] = {
        {"Ok", [&] { press("Button1"); }, {}},
        {"closed", [&] { window().close(); }, {}},
        {"next run", [&] { click("AnalyzeNowButton"); }, addresses},
    };
    runShownReport();
    for (const auto& c : cases) {
        if (!window().isVisible())
            click("AnalyzeNowButton");
        showTab(1);
        selectVisitor(1);
        control<QAction>(window(), "Resolve1")->trigger();
        c.meanwhile();
        EXPECT_TRUE(lookupUnderWay()) << c.what;
        waitForLookup();
        EXPECT_EQ(visitorLines(), c.lines) << c.what;
    }
    EXPECT_EQ(readFile(asked_), "10.0.0.10\n10.0.0.10\n10.0.0.10\n");
}

// A run's look-ups are the library's only calls while it is under way: a
// "&Resolve" in the window showing the last result does nothing.
TEST_F(ResultsWindowTest, ResolveDoesNothingWhileARunIsUnderWay) {
    useTableResolver("10.0.0.10 zz.statvane.test\n");
    addShownReport("Shown");
    addShownReport("Named", "DNS=1\r\n");
    start();
    select("Shown");
    click("AnalyzeNowButton");
    showTab(1);
    selectVisitor(1);
    select("Named");
    ScopedEnv delay("STATVANE_TEST_RESOLVER_DELAY_MS", "200");
    QTimer::singleShot(300, &window(), [&] { control<QAction>(window(), "Resolve1")->trigger(); });
    click("AnalyzeNowButton");
    EXPECT_EQ(readFile(asked_), "10.0.0.1\n10.0.0.10\n10.0.0.2\n10.0.0.3\n");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Enter presses the button that has the focus, not "&Ok"; a save or mail
// whose file dialog is cancelled does nothing more.
TEST_F(ResultsWindowTest, EnterPressesTheFocusedButton) {
    ScopedEnv helpFolder("STATVANE_HELP_DIR", HELP_BUILD_DIR);
    runShownReport();
    for (const char* name : {"Button3", "Button4", "Button2", "Button1"})
        EXPECT_EQ(clickedByEnter(part<QPushButton>(name)), QStringList{name});
    EXPECT_FALSE(window().isVisible());
}

// A browser's whole agent is read in the cell's tool tip.
TEST_F(ResultsWindowTest, AKeyIsWholeInItsToolTip) {
    const std::string agent = "Mozilla/5.0 " + std::string(400, 'x');
    writeFile(log_, "10.0.0.1 - - [09/Nov/2026:12:00:00 +0000] \"GET / HTTP/1.0\" 200 1 \"-\" \"" +
                        agent + "\"\n");
    runShownReport();
    const QModelIndex cell = table("ListView3")->model()->index(0, 0);
    EXPECT_EQ(cell.data(Qt::ToolTipRole), cell.data(Qt::DisplayRole));
    EXPECT_TRUE(cell.data(Qt::ToolTipRole).toString().contains(QString::fromStdString(agent)));
}

// A name found by the run's look-ups stands where its address stood, in the
// window as in the report that Save writes from it.
TEST_F(ResultsWindowTest, NamesFoundByTheRunKeepTheirAddressesPlaces) {
    std::filesystem::copy_file(TABLE_RESOLVER, home() / "resolve.so");
    writeFile(dir_ / "names", "10.0.0.1 zz.statvane.test\n");
    ScopedEnv table("STATVANE_TEST_RESOLVER_TABLE", (dir_ / "names").string());
    const auto saved = dir_ / "saved.txt";
    runShownReport("DNS=1\r\n");
    const QStringList inResultOrder = {"zz.statvane.test", "10.0.0.10", "10.0.0.2", "10.0.0.3"};
    EXPECT_EQ(visitorLines(), inResultOrder);

    dialogs.answerNextFileDialog({QString::fromStdString(saved.string())});
    press("Button4");
    const std::string report = readFile(saved);
    std::size_t previous = 0;
    for (const QString& visitor : inResultOrder) {
        const std::size_t at = report.find(visitor.toStdString() + "\r\n");
        ASSERT_NE(at, std::string::npos) << visitor.toStdString();
        EXPECT_GT(at, previous) << visitor.toStdString();
        previous = at;
    }
}

// The resolver library reports a connection; the mail server is scripted. The
// busy cursor stays until the delivery has ended.
TEST_F(ResultsWindowTest, MailSendsTheSavedFileAndTellsARefusalWithTheServersReply) {
    std::filesystem::copy_file(TABLE_RESOLVER, home() / "resolve.so");
    ScopedEnv connected("STATVANE_TEST_CONNECTED", "1");
    const auto saved = dir_ / "mailed.txt";
    const struct {
        const char* mailReply;
        std::vector<std::string> verbs;
        bool told;
    } cases[] = {
        {"250 ok", {"HELO", "MAIL", "RCPT", "DATA", "QUIT"}, false},
        {"550 sender refused", {"HELO", "MAIL", "QUIT"}, true},
    };
    for (const auto& c : cases) {
        ScriptedSmtp smtp;
        smtp.replies["MAIL"] = c.mailReply;
        writeMailSettings(smtp.server.port());
        std::filesystem::remove(home() / "reports.dat");
        std::filesystem::remove(home() / "files.dat");
        dialogs.clearShown();
        runShownReport("E-Mail Address=you@example.com\r\n");
        dialogs.answerNextFileDialog({QString::fromStdString(saved.string())});
        press("Button3");
        EXPECT_NE(QApplication::overrideCursor(), nullptr) << c.mailReply;
        EXPECT_TRUE(
            QTest::qWaitFor([] { return QApplication::overrideCursor() == nullptr; }, 10000));

        EXPECT_EQ(smtp.verbs(), c.verbs) << c.mailReply;
        const auto shown = messages();
        ASSERT_EQ(shown.size(), c.told ? 1u : 0u) << c.mailReply;
        if (c.told) {
            EXPECT_EQ(shown[0]->text, QString(kMailRefusedMessage) + c.mailReply);
        } else {
            EXPECT_NE(smtp.messages.find("name=\"mailed.txt\""), std::string::npos)
                << smtp.messages;
        }
    }
}

// A mail server that accepts the connection and never speaks: the delivery
// ends at the time limit with its message, the busy cursor goes, and the next
// mail starts instead of being refused as busy.
TEST_F(ResultsWindowTest, MailToASilentServerEndsAtTheTimeLimitAndTheNextMailStarts) {
    std::filesystem::copy_file(TABLE_RESOLVER, home() / "resolve.so");
    ScopedEnv connected("STATVANE_TEST_CONNECTED", "1");
    ScopedEnv timeLimit("STATVANE_MAIL_TIMEOUT", "2");
    ScriptedServer silent([](QTcpSocket&, ScriptedServer&) {});
    writeMailSettings(silent.port());
    runShownReport("E-Mail Address=you@example.com\r\n");
    for (int mail = 1; mail <= 2; ++mail) {
        SCOPED_TRACE(mail);
        dialogs.clearShown();
        dialogs.answerNextFileDialog({QString::fromStdString((dir_ / "mailed.txt").string())});
        press("Button3");
        EXPECT_TRUE(QTest::qWaitFor([&] { return silent.connectionCount() == mail; }, 5000));
        EXPECT_TRUE(
            QTest::qWaitFor([] { return QApplication::overrideCursor() == nullptr; }, 10000));
        const auto shown = messages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0]->text.toStdString(), kMailTimedOutMessage);
        EXPECT_EQ(shown[0]->icon, MessageIcon::Warning);
    }
}

// A sign-in that fails ends the delivery with QUIT. It is told once the
// server has had QUIT, from the event queue rather than from inside the mail
// client: in a box, or on standard error while the program ends, which then
// ends.
TEST_F(ResultsWindowTest, AFailedSignInIsToldAfterQuit) {
    std::filesystem::copy_file(TABLE_RESOLVER, home() / "resolve.so");
    ScopedEnv connected("STATVANE_TEST_CONNECTED", "1");
    const std::vector<std::string> verbs = {"EHLO", "AUTH", "QUIT"};
    for (const bool ending : {false, true}) {
        SCOPED_TRACE(ending ? "program ending" : "window open");
        ScriptedSmtp smtp;
        smtp.replies = {{"EHLO", "250-scripted\r\n250 AUTH PLAIN"}, {"AUTH", "535 bad"}};
        writeMailSettings(smtp.server.port(),
                          "\"Mail User Name\"=\"user\"\r\n\"Mail Password\"=\"pass\"\r\n");
        std::filesystem::remove(home() / "reports.dat");
        std::filesystem::remove(home() / "files.dat");
        runShownReport("E-Mail Address=you@example.com\r\n");
        dialogs.clearShown();
        endRequests = 0;
        std::vector<std::string> verbsWhenTold;
        dialogs.onShown = [&](const ShownDialog& dialog) {
            if (dialog.kind == Kind::Message)
                verbsWhenTold = smtp.verbs();
        };
        dialogs.answerNextFileDialog({QString::fromStdString((dir_ / "mailed.txt").string())});
        testing::internal::CaptureStderr();
        press("Button3");
        if (ending)
            desktop().exitProgram();
        EXPECT_TRUE(
            QTest::qWaitFor([] { return QApplication::overrideCursor() == nullptr; }, 10000));
        const std::string errors = testing::internal::GetCapturedStderr();
        dialogs.onShown = nullptr;

        EXPECT_EQ(smtp.verbs(), verbs);
        const auto shown = messages();
        if (ending) {
            EXPECT_TRUE(shown.empty());
            EXPECT_NE(errors.find(std::string("Statvane: ") + kLoginRefusedMessage + "\n"),
                      std::string::npos)
                << errors;
        } else {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0]->text.toStdString(), kLoginRefusedMessage);
            EXPECT_EQ(shown[0]->icon, MessageIcon::Warning);
            EXPECT_EQ(verbsWhenTold, verbs);
        }
        EXPECT_EQ(endRequests, ending ? 1 : 0);
    }
}

// Keys of any bytes show decoded and are copied and saved as they are.
TEST_F(ResultsWindowTest, KeysOfAnyBytesShowAndAreCopiedAndSavedExactly) {
    const std::string keys[] = {"http://caf\xe9.example/", "http://tab\x01.example/",
                                "http://long.example/" + std::string(4500, 'x')};
    std::string log;
    for (const std::string& key : keys)
        log += "10.0.0.1 - - [09/Nov/2026:12:00:00 +0000] \"GET /a.html HTTP/1.0\" 200 5 \"" + key +
               "\" \"Agent A\"\n";
    writeFile(log_, log);
    const auto saved = dir_ / "bytes.txt";
    runShownReport();
    ASSERT_EQ(column("ListView1").size(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(column("ListView1")[row], displayText(keys[row])) << row;
        table("ListView1")->selectRow(row);
        pressKey(table("ListView1"), Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->mimeData()->data("text/plain").toStdString(),
                  keys[row]);
    }
    EXPECT_EQ(column("ListView1")[0], QString::fromUtf8("http://caf\u00e9.example/"));
    dialogs.answerNextFileDialog({QString::fromStdString(saved.string())});
    press("Button4");
    const std::string report = readFile(saved);
    for (const std::string& key : keys)
        EXPECT_NE(report.find(key), std::string::npos);
}

// A settings file that cannot be written (a folder stands in its place): the
// error is shown and the window goes on working.
TEST_F(ResultsWindowTest, ASettingsStoreThatCannotBeWrittenIsReportedAndTheWindowGoesOn) {
    runShownReport();
    std::filesystem::remove(settingsFile());
    std::filesystem::create_directory(settingsFile());
    clickHeader("ListView2", 1);
    window().close();
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 2u);
    for (const ShownDialog* message : shown)
        EXPECT_EQ(message->icon, MessageIcon::Error);
    EXPECT_TRUE(visitorLines().isEmpty());
    EXPECT_FALSE(window().isVisible());

    std::filesystem::remove(settingsFile());
    click("AnalyzeNowButton");
    clickHeader("ListView2", 1);
    EXPECT_EQ(column("ListView2", 1), QStringList({"3", "2", "1"}));
    EXPECT_EQ(storedInteger(keys::kProduct, "Index"), 1);
}

// Offline, a mail that was started would add the not-connected message.
TEST_F(ResultsWindowTest, AFileThatCannotBeCreatedIsReportedAndNothingIsMailed) {
    const auto unwritable = dir_ / "no-such-folder" / "report.txt";
    runShownReport("E-Mail Address=someone@example.com\r\n");
    dialogs.answerNextFileDialog({QString::fromStdString(unwritable.string())});
    press("Button3");
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0]->text.startsWith("Cannot create file " +
                                          QString::fromStdString(unwritable.string())))
        << shown[0]->text.toStdString();
    EXPECT_EQ(shown[0]->icon, MessageIcon::Error);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(window().isVisible());
}

// Writing the report sorts the tables by count also when the file cannot be
// created: the first referrer row (ref-b) and the first top pages row
// (mid.html) come second, and the commands act on them there.
TEST_F(ResultsWindowTest, AFailedSaveLeavesEverySelectionOnItsRow) {
    chooseRecordingBrowser();
    runShownReport();
    const char* const views[] = {"ListView1", "ListView2"};
    std::vector<std::string> selectedKeys;
    for (const char* view : views) {
        table(view)->selectRow(0);
        selectedKeys.push_back(column(view)[0].toStdString());
    }
    dialogs.answerNextFileDialog(
        {QString::fromStdString((dir_ / "no-such-folder" / "report.txt").string())});
    press("Button4");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(column("ListView1", 1), QStringList({"4", "1", "1"}));
    for (std::size_t i = 0; i < std::size(views); ++i) {
        const QModelIndexList selected = table(views[i])->selectionModel()->selectedRows();
        ASSERT_EQ(selected.size(), 1) << views[i];
        EXPECT_EQ(selected.front().row(), 1) << views[i];
        control<QAction>(window(), "Launch1")->trigger();
        EXPECT_EQ(launchedAddress(), selectedKeys[i]);
        control<QAction>(window(), "Copy2")->trigger();
        EXPECT_EQ(clipboardText(), selectedKeys[i]);
        table(views[i])->clearSelection();
    }
}

// The window's message boxes belong to it, not to the main window.
TEST_F(ResultsWindowTest, EveryMessageBoxBelongsToTheWindow) {
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"a file that cannot be created",
         [this] {
             const auto unwritable = dir_ / "no-such-folder" / "report.txt";
             dialogs.answerNextFileDialog({QString::fromStdString(unwritable.string())});
             press("Button4");
         }},
        {"a settings file that cannot be written",
         [this] {
             std::filesystem::remove(settingsFile());
             std::filesystem::create_directory(settingsFile());
             clickHeader("ListView2", 1);
             std::filesystem::remove(settingsFile());
         }},
    };
    addShownReport("Shown");
    for (const auto& [command, run] : commands) {
        SCOPED_TRACE(command);
        start();
        select("Shown");
        click("AnalyzeNowButton");
        dialogs.clearShown();
        run();
        const auto shown = messages();
        ASSERT_FALSE(shown.empty());
        for (const ShownDialog* message : shown)
            EXPECT_EQ(message->owner, &window()) << message->text.toStdString();
    }
}

// aiosmtpd stores each message with its attachments as Python reads them.
TEST_F(ResultsWindowTest, MailDeliversTheSavedReportToARealServer) {
    REQUIRE_PEER(kSystemPython);
    if (!pythonModuleAvailable("aiosmtpd")) {
        if (runningUnderCi())
            FAIL() << "test peer missing: python3-aiosmtpd";
        GTEST_SKIP() << "test peer missing: python3-aiosmtpd";
    }
    const auto store = dir_ / "store";
    std::filesystem::create_directory(store);
    const quint16 port = freeLoopbackPort();
    PeerProcess peer;
    ASSERT_TRUE(peer.start(
        kSystemPython,
        {SMTP_STORE_SERVER, QString::number(port), QString::fromStdString(store.string())}, port))
        << peer.errorText().toStdString();
    std::filesystem::copy_file(TABLE_RESOLVER, home() / "resolve.so");
    ScopedEnv connected("STATVANE_TEST_CONNECTED", "1");
    writeMailSettings(port);
    const auto saved = dir_ / "weekly.txt";
    runShownReport("E-Mail Address=a@example.com ; b@example.com\r\n");
    dialogs.answerNextFileDialog({QString::fromStdString(saved.string())});
    press("Button3");
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::overrideCursor() == nullptr; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(store / "1.json"); }, 10000));

    const QJsonObject stored =
        QJsonDocument::fromJson(QByteArray::fromStdString(readFile(store / "1.json"))).object();
    EXPECT_EQ(stored["rcpt_tos"].toArray(), QJsonArray({"a@example.com", "b@example.com"}));
    const QJsonArray attachments = stored["message"].toObject()["attachments"].toArray();
    ASSERT_EQ(attachments.size(), 1);
    const QJsonObject attachment = attachments[0].toObject();
    EXPECT_EQ(attachment["filename"].toString(), "weekly.txt");
    EXPECT_EQ(QByteArray::fromHex(attachment["data_hex"].toString().toLatin1()).toStdString(),
              readFile(saved));
    EXPECT_TRUE(messages().empty());
}

} // namespace
} // namespace statvane::test
