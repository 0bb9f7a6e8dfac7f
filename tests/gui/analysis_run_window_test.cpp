#include "gui/desktop_fixture.h"
#include "run/analysis_run.h"
#include "support/file_size_limit.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace statvane::test {
namespace {

constexpr const char* kThreeSteps = "Visitors=1\r\nReferrers=1\r\nPages=1\r\n";

class AnalysisRunWindowTest : public DesktopFixture {
  protected:
    AnalysisRunWindowTest() {
        writeLog(log_, 20000);
        addSavedReport("Three Steps", kThreeSteps, 4, log_, output_);
    }

    TForm4& progress() { return desktop().progressWindow(); }
    QProgressBar* bar() { return control<QProgressBar>(progress(), "ProgressBar1"); }
    QPushButton* cancelButton() { return control<QPushButton>(progress(), "Button1"); }
    QString stepText() { return control<QLabel>(progress(), "Label1")->text(); }

    // Presses Cancel as soon as the progress window shows the given step.
    void cancelDuring(const QString& step) {
        auto* watch = new QTimer(&progress());
        QObject::connect(watch, &QTimer::timeout, [=, this] {
            if (progress().isVisible() && stepText() == step) {
                QTest::mouseClick(cancelButton(), Qt::LeftButton);
                watch->deleteLater();
            }
        });
        watch->start(0);
    }

    std::filesystem::path log_ = dir_ / "access.log";
    std::filesystem::path output_ = dir_ / "report.txt";
};

TEST_F(AnalysisRunWindowTest, ARunMovesTheBarOncePerStepAndWritesItsReport) {
    start();
    select("Three Steps");
    click("AnalyzeNowButton");

    EXPECT_TRUE(std::filesystem::exists(output_));
    EXPECT_EQ(bar()->value(), 66);
    EXPECT_EQ(stepText(), "Calculating Top Pages...");
    EXPECT_FALSE(progress().isVisible());
    EXPECT_EQ(storedInteger(registry_keys::kPositions, "Form4 Width"), progress().width());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(AnalysisRunWindowTest, TheReportRunsFromADoubleClickTheContextMenuAndEnter) {
    const std::function<void(AnalysisRunWindowTest&)> ways[] = {
        [](AnalysisRunWindowTest& t) {
            QListWidget* list = t.reportList();
            const QRect place = list->visualItemRect(list->item(0));
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
        },
        [](AnalysisRunWindowTest& t) { t.trigger("Analyze1"); },
        [](AnalysisRunWindowTest& t) { t.pressKey(t.reportList(), Qt::Key_Return); },
    };
    for (const auto& run : ways) {
        start();
        select("Three Steps");
        std::filesystem::remove(output_);
        run(*this);
        EXPECT_TRUE(std::filesystem::exists(output_));
    }
}

TEST_F(AnalysisRunWindowTest, CancelDuringAStepEndsTheRunWithoutOutputAndTheNextRunStarts) {
    start();
    select("Three Steps");
    cancelDuring("Tallying Referrer Sites...");
    click("AnalyzeNowButton");

    EXPECT_FALSE(std::filesystem::exists(output_));
    EXPECT_FALSE(progress().isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    click("AnalyzeNowButton");
    EXPECT_TRUE(std::filesystem::exists(output_));
    EXPECT_EQ(bar()->value(), 66);
}

TEST_F(AnalysisRunWindowTest, MissingFilesLeaveTheProgressWindowUntilCancel) {
    addSavedReport("Missing", kThreeSteps, 3, dir_ / "no-such.log", output_);
    start();
    select("Missing");
    click("AnalyzeNowButton");

    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith(kMissingFilesMessage));
    EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(progress().isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QTest::mouseClick(cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(progress().isVisible());
    EXPECT_FALSE(cancelButton()->isEnabled());

    // Shown again, the window starts afresh: bar at 0, Cancel enabled.
    bool freshOnShow = false;
    QTimer::singleShot(0,
                       [&] { freshOnShow = bar()->value() == 0 && cancelButton()->isEnabled(); });
    select("Three Steps");
    click("AnalyzeNowButton");
    EXPECT_TRUE(freshOnShow);
    EXPECT_TRUE(std::filesystem::exists(output_));
}

// Below its fixed text the box names the files that cannot be read and why:
// the first ten, then how many more.
TEST_F(AnalysisRunWindowTest, TheMissingFilesBoxNamesTheFilesAndWhy) {
    struct Case {
        int files;
        const char* more;
    } cases[] = {{1, ""}, {12, "\nand 2 more"}};
    for (const Case& c : cases) {
        const std::string report = "Missing " + std::to_string(c.files);
        std::string inputs;
        QString named;
        for (int i = 0; i < c.files; ++i) {
            const std::string file = (dir_ / ("gone" + std::to_string(i) + ".log")).string();
            inputs += "File " + std::to_string(i) + "=" + file + "\r\n";
            if (i < 10)
                named += "\n" + QString::fromStdString(file) + ": No such file or directory";
        }
        addReport(report, "Visitors=1\r\nTotal Options=1\r\n", inputs);
        start();
        select(QString::fromStdString(report));
        dialogs.clearShown();
        click("AnalyzeNowButton");

        ASSERT_EQ(dialogs.shown().size(), 1u) << c.files;
        EXPECT_EQ(dialogs.shown()[0].text.toStdString(),
                  (QString(kMissingFilesMessage) + "\n" + named + QString(c.more)).toStdString());
    }
}

// The size is stored as the window closes, by Cancel or by a close asked for
// otherwise; a settings file that cannot be written is told in a box of the
// window's own, and the window closes all the same.
TEST_F(AnalysisRunWindowTest, ASizeThatCannotBeStoredIsToldAndTheWindowClosesAllTheSame) {
    addSavedReport("Missing", kThreeSteps, 3, dir_ / "no-such.log", output_);
    const std::pair<const char*, std::function<void()>> closings[] = {
        {"Cancel", [this] { QTest::mouseClick(cancelButton(), Qt::LeftButton); }},
        {"close", [this] { progress().close(); }},
    };
    for (const auto& [closing, close] : closings) {
        SCOPED_TRACE(closing);
        start();
        select("Missing");
        click("AnalyzeNowButton");
        ASSERT_TRUE(progress().isVisible());
        dialogs.clearShown();
        {
            ScopedFileSizeLimit full(16);
            close();
        }
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.shown()[0].text, "Failed to set data for 'Form4 Height'.");
        EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::Error);
        EXPECT_EQ(dialogs.shown()[0].owner, &progress());
        EXPECT_FALSE(progress().isVisible());
        EXPECT_FALSE(cancelButton()->isEnabled());
    }
}

// Started in a folder that has since been deleted, the program runs; a
// relative input name is then a file that is not there.
TEST_F(AnalysisRunWindowTest, FromADeletedWorkingFolderARelativeInputIsAMissingFile) {
    addReport("Relative", "Visitors=1\r\nTotal Options=1\r\n", "File 0=access.log\r\n");
    ScopedDeletedWorkingFolder gone;
    start();
    select("Relative");
    click("AnalyzeNowButton");

    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text.toStdString(),
              std::string(kMissingFilesMessage) + "\n\naccess.log: No such file or directory");
    EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::Warning);
}

TEST_F(AnalysisRunWindowTest, TheReportNamedAtStartRunsInAnyLetterCaseAndCloseEndsTheProgram) {
    struct Case {
        StartupRun startup;
        bool runs;
        int endRequests;
    } cases[] = {
        {{"three STEPS", true}, true, 1},
        {{"Three Steps", false}, true, 0},
        {{"Unknown", true}, false, 0},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(output_);
        endRequests = 0;
        start(c.startup);
        QTest::qWait(0);
        QCoreApplication::processEvents();
        EXPECT_EQ(std::filesystem::exists(output_), c.runs) << *c.startup.report;
        EXPECT_EQ(endRequests, c.endRequests) << *c.startup.report;
        EXPECT_EQ(storedInteger(registry_keys::kPositions, "Form1 Width"), std::nullopt);
    }
}

// The run reads the report's sections as it goes: the report it runs is
// neither deleted nor renamed meanwhile, from the list or the dialog.
TEST_F(AnalysisRunWindowTest, TheReportBeingAnalyzedIsNeitherDeletedNorRenamed) {
    start();
    select("Three Steps");
    QTimer::singleShot(0, [this] {
        pressKey(reportList(), Qt::Key_Delete);
        trigger("Rename1");
        TForm2& dialog = desktop().propertiesDialog();
        control<QLineEdit>(dialog, "NameEdit")->setText("Renamed");
        QTest::mouseClick(control<QPushButton>(dialog, "OkButton"), Qt::LeftButton);
    });
    click("AnalyzeNowButton");

    ASSERT_EQ(dialogs.shown().size(), 2u);
    for (const ShownDialog& shown : dialogs.shown()) {
        EXPECT_EQ(shown.kind, ShownDialog::Kind::Message);
        EXPECT_EQ(shown.text.toStdString(), kReportBeingAnalyzedMessage);
    }
    EXPECT_TRUE(std::filesystem::exists(output_));
    EXPECT_EQ(desktop().mainWindow().reportNames(), std::vector<std::string>{"Three Steps"});
    EXPECT_NE(readFile(home() / "reports.dat").find("[Three Steps]"), std::string::npos);

    // Once the run has ended, the rename goes through.
    QTest::mouseClick(control<QPushButton>(desktop().propertiesDialog(), "OkButton"),
                      Qt::LeftButton);
    EXPECT_EQ(desktop().mainWindow().reportNames(), std::vector<std::string>{"Renamed"});
}

TEST_F(AnalysisRunWindowTest, ExitDuringARunCancelsIt) {
    start();
    select("Three Steps");
    QTimer::singleShot(0, [this] { trigger("Exit1"); });
    click("AnalyzeNowButton");
    EXPECT_FALSE(std::filesystem::exists(output_));
    EXPECT_EQ(endRequests, 1);
}

// Logs with lines out of the combined layout are told on the status bar when
// the run ends: the first such file, and how many more there are. No box is
// shown, so a run started with "close" still ends the program; a later run
// without such lines puts back the text the notice replaced.
TEST_F(AnalysisRunWindowTest, LogsOutOfTheCombinedLayoutAreToldOnTheStatusBar) {
    const auto json = dir_ / "json.log";
    const auto common = dir_ / "common.log";
    writeFile(json, "{\"remote_addr\":\"192.0.2.7\"}\n{}\n");
    writeFile(common, "10.0.0.1 - - [09/Nov/2026:12:00:00 +0000] \"GET / HTTP/1.0\" 200 512\n");
    const auto report = [this](const std::string& name,
                               const std::vector<std::filesystem::path>& logs) {
        std::string inputs;
        for (std::size_t i = 0; i < logs.size(); ++i)
            inputs += "File " + std::to_string(i) + "=" + logs[i].string() + "\r\n";
        addReport(name,
                  "Description=" + name + "\r\nTotal Options=1\r\nFile=1\r\nOutput=" +
                      (dir_ / "out.txt").string() + "\r\n",
                  inputs);
    };
    report("One", {json, log_});
    report("Two", {common, log_, json});
    report("Three", {json, log_, common, json});
    const QString jsonNotice = QString::fromStdString(
        json.string() + ": 2 of 2 lines are not in the combined log layout.");
    const QString commonNotice = QString::fromStdString(
        common.string() + ": 1 of 1 lines are not in the combined log layout.");

    start();
    const std::pair<const char*, QString> runs[] = {
        {"One", jsonNotice},
        {"Three", jsonNotice + " (and 2 more files)"},
        {"Two", commonNotice + " (and 1 more file)"},
    };
    for (const auto& [name, notice] : runs) {
        select(name);
        click("AnalyzeNowButton");
        EXPECT_EQ(statusText(), notice);
    }
    writeLog(json, 2);
    writeLog(common, 1);
    click("AnalyzeNowButton");
    EXPECT_EQ(statusText(), "Two");
    EXPECT_TRUE(dialogs.shown().empty());

    writeFile(common, "not a log line\n");
    endRequests = 0;
    start({"two", true});
    QTest::qWait(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(endRequests, 1);
    EXPECT_EQ(statusText(), commonNotice);
    EXPECT_TRUE(dialogs.shown().empty());
}

} // namespace
} // namespace statvane::test
