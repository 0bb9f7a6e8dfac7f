#include "gui/desktop_fixture.h"
#include "gui/main_window.h"
#include "net/web/web_launching.h"
#include "platform/program_directory.h"
#include "settings/settings_store.h"
#include "support/file_size_limit.h"

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace statvane::test {
namespace {

using Kind = ShownDialog::Kind;
namespace keys = registry_keys;

class MainWindowTest : public DesktopFixture {
  protected:
    void expectShown(std::size_t index, Kind kind, const QString& text, MessageIcon icon,
                     const QString& caption = "Statvane") {
        ASSERT_GT(dialogs.shown().size(), index);
        const ShownDialog& shown = dialogs.shown()[index];
        EXPECT_EQ(shown.kind, kind);
        EXPECT_EQ(shown.caption, caption);
        EXPECT_EQ(shown.text, text);
        EXPECT_EQ(shown.icon, icon);
    }
};

TEST_F(MainWindowTest, StartsWithTheReportsOfTheProfileFileInTheirOrder) {
    addReport("Zeta", "Description=last letter\r\n");
    addReport("alpha", "");
    addReport("Mid report", "Description=In the middle\r\n");
    start();
    EXPECT_EQ(listedReports(), QStringList({"Zeta", "alpha", "Mid report"}));
    EXPECT_EQ(desktop().mainWindow().windowTitle(), "Statvane");
    EXPECT_EQ(storedInteger(keys::kProduct, "Index"), 0);

    select("Mid report");
    EXPECT_EQ(statusText(), "In the middle");
    select("alpha");
    EXPECT_EQ(statusText(), "");
}

// What the properties dialog does to the list when it creates or renames a
// report: a new entry at the end, the old name's entry removed.
TEST_F(MainWindowTest, EntriesAreAddedAtTheEndAndRemovedByName) {
    addReport("First", "");
    addReport("Second", "");
    start();
    TForm1& window = desktop().mainWindow();
    window.addReport("Third");
    window.removeReport("First");
    window.removeReport("Not listed");
    EXPECT_EQ(listedReports(), QStringList({"Second", "Third"}));
    EXPECT_EQ(statusText(), kStartStatusText);
}

TEST_F(MainWindowTest, SettingsLinesThatCannotBeReadAreToldAtStartAndTheProgramGoesOn) {
    writeFile(settingsFile(), "REGEDIT4\r\n\r\nthis line is no registry line\r\n");
    addReport("Listed", "");
    start();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QString::fromStdString(settingsFile().string())));
    EXPECT_EQ(listedReports(), QStringList{"Listed"});
}

// Told while the windows are created, before any is shown, the start-up's
// messages still belong to the main window.
TEST_F(MainWindowTest, StartUpMessagesBelongToTheMainWindow) {
    const std::pair<const char*, std::function<void()>> startUps[] = {
        {"settings lines that cannot be read",
         [this] {
             writeFile(settingsFile(), "REGEDIT4\r\n\r\nthis line is no registry line\r\n");
             start();
         }},
        {"a settings file that cannot be written",
         [this] {
             ScopedFileSizeLimit full(16);
             start();
         }},
    };
    for (const auto& [startUp, run] : startUps) {
        SCOPED_TRACE(startUp);
        std::filesystem::remove(settingsFile());
        dialogs.clearShown();
        run();
        ASSERT_FALSE(dialogs.shown().empty());
        for (const ShownDialog& shown : dialogs.shown())
            EXPECT_EQ(shown.owner, &desktop().mainWindow()) << shown.text.toStdString();
    }
}

// Reports that an installed program kept beside itself are told once the
// main window shows, by the main window; they stay where they are.
TEST_F(MainWindowTest, ReportsLeftBesideTheProgramAreToldOnceTheWindowShows) {
    const auto left = executableDirectory() / "reports.dat";
    ASSERT_FALSE(std::filesystem::exists(left));
    writeFile(left, "[Nightly]\r\n");
    start().tellOldReports();
    const bool kept = std::filesystem::remove(left);

    EXPECT_TRUE(kept);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].owner, &desktop().mainWindow());
    EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(dialogs.shown()[0].text.contains("no longer read"));
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QString::fromStdString(left.string())));
}

TEST_F(MainWindowTest, WithoutReportsTheCommandsAskForASelection) {
    start();
    EXPECT_EQ(reportList()->count(), 0);
    EXPECT_EQ(statusText(), kStartStatusText);

    click("ModifyReportButton");
    click("DeleteReportButton");
    pressKey(reportList(), Qt::Key_Delete);
    trigger("Delete1");
    trigger("Properties1");
    trigger("Rename1");
    click("AnalyzeNowButton");

    ASSERT_EQ(dialogs.shown().size(), 4u);
    expectShown(0, Kind::Message, kSelectToModifyMessage, MessageIcon::Information);
    expectShown(1, Kind::Message, kSelectToDeleteMessage, MessageIcon::Information);
    expectShown(2, Kind::Message, kSelectToDeleteMessage, MessageIcon::Information);
    expectShown(3, Kind::Message, "You must select a report before running an analysis.",
                MessageIcon::Information);
    EXPECT_EQ(statusText(), kStartStatusText);
}

// Each way of deleting: the button, the menu item, the Delete key and the
// list's context menu, answered Yes and No.
TEST_F(MainWindowTest, DeleteAsksAndRemovesExactlyTheSelectedReport) {
    const std::function<void(MainWindowTest&)> ways[] = {
        [](MainWindowTest& t) { t.click("DeleteReportButton"); },
        [](MainWindowTest& t) { t.trigger("DeleteReport1"); },
        [](MainWindowTest& t) { t.pressKey(t.reportList(), Qt::Key_Delete); },
        [](MainWindowTest& t) { t.trigger("Delete1"); },
    };
    for (const bool yes : {false, true}) {
        for (const auto& deleteSelected : ways) {
            std::filesystem::remove(home() / "reports.dat");
            std::filesystem::remove(home() / "files.dat");
            addReport("One", "Description=first\r\n", "File 0=/logs/one.log\r\n");
            addReport("Two", "Description=second\r\n", "File 0=/logs/two.log\r\n");
            restart();
            dialogs.clearShown();
            select("One");
            dialogs.answerNextQuestion(yes);
            deleteSelected(*this);

            expectShown(0, Kind::Question, kDeleteQuestion, MessageIcon::Question);
            EXPECT_EQ(listedReports(), yes ? QStringList{"Two"} : QStringList({"One", "Two"}));
            EXPECT_EQ(statusText(), yes ? kReportDeletedText : "first");
            if (yes) {
                // The next report is not chosen for the user.
                EXPECT_EQ(desktop().mainWindow().selectedReport(), std::nullopt);
                pressKey(reportList(), Qt::Key_Delete);
                expectShown(1, Kind::Message, kSelectToDeleteMessage, MessageIcon::Information);
            }
            const std::string files = readFile(home() / "files.dat");
            EXPECT_EQ(files.find("one.log") == std::string::npos, yes);
            EXPECT_NE(files.find("two.log"), std::string::npos);
            EXPECT_EQ(restart().mainWindow().selectedReport(), std::nullopt);
            EXPECT_EQ(listedReports(), yes ? QStringList{"Two"} : QStringList({"One", "Two"}));
        }
    }
}

// A focused button takes Enter itself; from the list, Enter is "Analyze Now".
TEST_F(MainWindowTest, EnterPressesTheFocusedButtonAndFromTheListAnalyzeNow) {
    ScopedEnv helpFolder("STATVANE_HELP_DIR", HELP_BUILD_DIR);
    chooseRecordingBrowser();
    start();
    for (const char* name : {"NewReportButton", "ModifyReportButton", "DeleteReportButton",
                             "UpdateCheckButton", "HelpButton", "AnalyzeNowButton"}) {
        auto* button = control<QPushButton>(desktop().mainWindow(), name);
        EXPECT_EQ(clickedByEnter(button), QStringList{name});
    }
    EXPECT_EQ(desktop().propertiesDialog().mode(), PropertiesMode::New);
    takeBrowserStart();
    dialogs.clearShown();
    pressKey(reportList(), Qt::Key_Return);
    expectShown(0, Kind::Message, "You must select a report before running an analysis.",
                MessageIcon::Information);
    EXPECT_EQ(clickedByEnter(control<QPushButton>(desktop().mainWindow(), "ExitButton")),
              QStringList{"ExitButton"});
    EXPECT_EQ(endRequests, 1);
}

// A label of any length stays within its cell, whole in its tool tip.
TEST_F(MainWindowTest, ALongReportNameKeepsTheOtherEntriesInSight) {
    const std::string longName(300, 'L');
    addReport(longName, "");
    addReport("Short", "");
    start();
    QListWidget* list = reportList();
    const QRect longEntry = list->visualItemRect(list->item(0));
    EXPECT_LE(longEntry.width(), list->viewport()->width() / 2);
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(1))));
    EXPECT_EQ(list->item(0)->toolTip().toStdString(), longName);
}

TEST_F(MainWindowTest, AFailedDeleteKeepsTheEntryAndTheStatusAndTheProgramGoesOn) {
    addReport("Kept", "Description=" + std::string(200, 'k') + "\r\n");
    addReport("Other", "Description=" + std::string(200, 'o') + "\r\n");
    start();
    select("Kept");
    dialogs.clearShown();
    dialogs.answerNextQuestion(true);
    {
        ScopedFileSizeLimit full(16);
        click("DeleteReportButton");
    }
    expectShown(
        1, Kind::Message,
        QString::fromStdString("Unable to write to " + (home() / "reports.dat").string() + "."),
        MessageIcon::Error);
    EXPECT_EQ(listedReports(), QStringList({"Kept", "Other"}));
    EXPECT_EQ(statusText(), QString::fromStdString(std::string(200, 'k')));
}

TEST_F(MainWindowTest, SizeIsStoredOnCloseButNotAfterExitFromTheMenu) {
    start();
    desktop().mainWindow().resize(520, 330);
    trigger("Exit1");
    EXPECT_EQ(endRequests, 1);
    EXPECT_EQ(storedInteger(keys::kPositions, "Form1 Width"), std::nullopt);

    click("ExitButton");
    EXPECT_EQ(endRequests, 2);
    EXPECT_EQ(storedInteger(keys::kPositions, "Form1 Width"), 520);
    EXPECT_EQ(storedInteger(keys::kPositions, "Form1 Height"), 330);

    restart().mainWindow().resize(600, 400);
    desktop().mainWindow().close();
    restart();
    EXPECT_EQ(desktop().mainWindow().size(), QSize(600, 400));
}

TEST_F(MainWindowTest, StoredSizesOfZeroAreIgnoredAndSmallOnesApplied) {
    start();
    const QSize design = desktop().mainWindow().size();
    Registry registry(settingsFile());
    const QSize smaller = design - QSize(10, 10);
    SettingsStore(registry).writeWindowSize("Form1", {0, smaller.height()});
    EXPECT_EQ(restart().mainWindow().size(), QSize(design.width(), smaller.height()));
    SettingsStore(registry).writeWindowSize("Form1", {smaller.width(), 0});
    EXPECT_EQ(restart().mainWindow().size(), QSize(smaller.width(), design.height()));
}

TEST_F(MainWindowTest, AboutBoxHasItsOwnCaptionTheVersionFirstAndTheLicence) {
    start();
    trigger("AboutStatvane1");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].caption, "About Statvane");
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith("Statvane v1.0\n"));
    EXPECT_TRUE(dialogs.shown()[0].text.contains(
        "GNU General Public License as published by the Free Software Foundation, either "
        "version 3 of the License, or (at your option) any later version"));
}

TEST_F(MainWindowTest, AcceleratorsReachTheButtonsAndTheList) {
    addReport("Only", "");
    start();
    pressKey(reportList(), Qt::Key_M, Qt::AltModifier);
    // A button's accelerator clicks it the way a mouse would, a moment later.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !dialogs.shown().empty(); }, kPatience));
    expectShown(0, Kind::Message, kSelectToModifyMessage, MessageIcon::Information);
    control<QWidget>(desktop().mainWindow(), "ExitButton")->setFocus();
    QTest::keyClick(&desktop().mainWindow(), Qt::Key_P, Qt::AltModifier);
    EXPECT_TRUE(reportList()->hasFocus());
}

// The chosen browser is a program that records how it was started.
TEST_F(MainWindowTest, UpdateCheckAndWebSiteOpenTheMakersPagesInTheChosenBrowser) {
    chooseRecordingBrowser();
    start();
    const std::string browser = RECORD_ARGUMENTS_PROGRAM;
    const auto waitForStart = [&](const std::string& expected) {
        EXPECT_EQ(takeBrowserStart(), std::string("1\0", 2) + browser + '\0' + expected + '\0');
    };
    click("UpdateCheckButton");
    waitForStart(updatePageAddress());
    trigger("UpdateCheck1");
    waitForStart(updatePageAddress());
    trigger("WebSite1");
    waitForStart(homePageAddress());
}

TEST_F(MainWindowTest, HelpContentsOpenFromF1TheMenuAndTheButton) {
    ScopedEnv helpFolder("STATVANE_HELP_DIR", HELP_BUILD_DIR);
    start();
    const auto helpShown = [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->windowTitle() == "Statvane Help" && window->isVisible()) {
                window->hide();
                return true;
            }
        }
        return false;
    };
    pressKey(reportList(), Qt::Key_F1);
    EXPECT_TRUE(helpShown());
    trigger("Contents1");
    EXPECT_TRUE(helpShown());
    click("HelpButton");
    EXPECT_TRUE(helpShown());
    EXPECT_TRUE(dialogs.shown().empty());
}

// A button is one more face of a menu item's command: its click triggers the
// very action the menu item holds.
TEST_F(MainWindowTest, EachButtonTriggersTheActionOfItsMenuItem) {
    ScopedEnv helpFolder("STATVANE_HELP_DIR", HELP_BUILD_DIR);
    start();
    const std::pair<const char*, const char*> faces[] = {
        {"NewReportButton", "NewReport1"},       {"ModifyReportButton", "ModifyReport1"},
        {"DeleteReportButton", "DeleteReport1"}, {"UpdateCheckButton", "UpdateCheck1"},
        {"AnalyzeNowButton", "Analyze1"},        {"HelpButton", "Contents1"}};
    for (const auto& [button, action] : faces) {
        QSignalSpy triggered(control<QAction>(desktop().mainWindow(), action), &QAction::triggered);
        click(button);
        EXPECT_EQ(triggered.count(), 1) << button;
    }
}

TEST_F(MainWindowTest, MenusAndContextMenuHoldTheirItemsInOrder) {
    start();
    const auto captions = [&](const char* menu) {
        QStringList texts;
        for (QAction* action : control<QMenu>(desktop().mainWindow(), menu)->actions())
            texts << (action->isSeparator() ? "-" : action->text());
        return texts;
    };
    EXPECT_EQ(captions("Reports1"),
              QStringList({"&New Report", "&Modify Report", "&Delete Report", "-", "E&xit"}));
    EXPECT_EQ(captions("Tools1"), QStringList({"&Options", "&Update Check"}));
    EXPECT_EQ(captions("Help1"),
              QStringList({"&Contents", "&Web Site", "-", "&About Statvane..."}));
    EXPECT_EQ(captions("PopupMenu1"),
              QStringList({"&Analyze...", "-", "&Delete", "&Rename", "-", "&Properties"}));
    EXPECT_EQ(control<QAction>(desktop().mainWindow(), "Contents1")->shortcut(),
              QKeySequence(Qt::Key_F1));
}

} // namespace
} // namespace statvane::test
