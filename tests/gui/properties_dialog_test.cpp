#include "gui/desktop_fixture.h"
#include "gui/properties_dialog.h"
#include "settings/settings_store.h"
#include "support/file_size_limit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace statvane::test {
namespace {

using Kind = ShownDialog::Kind;
namespace keys = registry_keys;

// A report on file with every key set, and another one that no command here
// may touch.
constexpr const char* kWeeklySettings =
    "Description=All of last week\r\nVisitors=1\r\nReferrers=0\r\nDNS=1\r\nPages=0\r\n"
    "Bytes=0\r\nBrowser=1\r\nFile=1\r\nOutput=/tmp/weekly.txt\r\nTotal Options=4\r\n"
    "E-Mail Address=a@example.com\r\nE-Mail=1\r\n";
constexpr const char* kWeeklyInputs = "File 0=/logs/a.log\r\nFile 1=/logs/b.log\r\n";
constexpr const char* kOtherSection = "[Other]\r\nDescription=untouched\r\nVisitors=1\r\n";

class PropertiesDialogTest : public DesktopFixture {
  public:
    TForm2& dialog() { return desktop().propertiesDialog(); }
    QWidget& windowUnderTest() override { return dialog(); }
    template <typename T> T* field(const char* name) { return control<T>(dialog(), name); }
    QLineEdit* edit(const char* name) { return field<QLineEdit>(name); }
    QListWidget* inputList() { return field<QListWidget>("ListView1"); }

    // Typed key by key; a long text, or one with other than printable ASCII, is
    // pasted.
    void type(const char* name, const QString& text) {
        edit(name)->clear();
        const bool ascii = std::all_of(text.begin(), text.end(),
                                       [](QChar c) { return c >= QChar(0x20) && c < QChar(0x7f); });
        if (text.size() > 100 || !ascii)
            edit(name)->insert(text);
        else
            QTest::keyClicks(edit(name), text);
    }

    void startWithWeekly() {
        addReport("Weekly", kWeeklySettings, kWeeklyInputs);
        std::ofstream(home() / "reports.dat", std::ios::app) << "\r\n" << kOtherSection;
        std::ofstream(home() / "files.dat", std::ios::app) << "\r\n[Other]\r\nFile 0=/logs/o\r\n";
        start();
    }
    void openFor(const QString& report, const char* action) {
        select(report);
        trigger(action);
    }
    // A new report that passes every check but the name's, unless the
    // output or the input is left out.
    void fillNew(const QString& name, bool output = true, bool input = true) {
        click("NewReportButton");
        type("NameEdit", name);
        press("CheckBox1");
        if (output) {
            press("FileRadioButton");
            type("OutputFileEdit", "/tmp/out.txt");
        }
        if (input) {
            dialogs.answerNextFileDialog({"/logs/new.log"});
            press("BrowseButton");
        }
    }

    QComboBox* combo(const char* name) { return field<QComboBox>(name); }
    QDateEdit* day(const char* name) { return field<QDateEdit>(name); }
    // The entry with the text, as a pick from the open list makes it.
    void choose(const char* name, const QString& text) {
        const int entry = combo(name)->findText(text);
        ASSERT_NE(entry, -1) << name << " " << text.toStdString();
        combo(name)->setCurrentIndex(entry);
    }
    void chooseDays(QDate from, QDate to) {
        choose("PeriodComboBox", "Between");
        day("PeriodFromEdit")->setDate(from);
        day("PeriodToEdit")->setDate(to);
    }
    QStringList entries(const char* name) {
        QStringList texts;
        for (int entry = 0; entry < combo(name)->count(); ++entry)
            texts << combo(name)->itemText(entry);
        return texts;
    }

    std::string reports() { return readFile(home() / "reports.dat"); }
    std::string files() { return readFile(home() / "files.dat"); }
    QStringList inputs() {
        QStringList texts;
        for (int row = 0; row < inputList()->count(); ++row)
            texts << inputList()->item(row)->text();
        return texts;
    }
    // The label editor goes a moment after the edit ends.
    static bool editorClosed(const QPointer<QLineEdit>& editor) {
        return QTest::qWaitFor([&editor] { return editor.isNull(); }, kPatience);
    }
};

TEST_F(PropertiesDialogTest, WindowHasItsCaptionsAndIsAFixedDialogWithoutTitleBarButtons) {
    start();
    click("NewReportButton");
    TForm2& form = dialog();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isModal());
    EXPECT_EQ(form.windowTitle(), "Report Properties");
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_GE(form.width(), 408);
    EXPECT_GE(form.height(), 364);
    EXPECT_TRUE(form.windowFlags() & Qt::CustomizeWindowHint);
    for (const auto button : {Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
                              Qt::WindowMaximizeButtonHint, Qt::WindowSystemMenuHint})
        EXPECT_FALSE(form.windowFlags().testFlag(button));
    auto* pages = field<QTabWidget>("PageControl1");
    ASSERT_EQ(pages->count(), 4);
    EXPECT_EQ(pages->tabText(0), "General");
    EXPECT_EQ(pages->tabText(1), "Selections");
    EXPECT_EQ(pages->tabText(2), "Inputs");
    EXPECT_EQ(pages->tabText(3), "Output");
    const std::pair<const char*, const char*> captions[] = {
        {"CheckBox1", "Visitors List (counted by unique IP addresses)"},
        {"CheckBox2", "Perform DNS look-up for unresolved IP addresses"},
        {"CheckBox3", "Referrer List"},
        {"CheckBox4", "Top Pages"},
        {"CheckBox5", "Calculate Total Bytes Transferred"},
        {"CheckBox6", "Most Popular Browser"},
        {"TrafficCheckBox", "Traffic over Time (hits and visitors per day and hour)"},
        {"StatusCheckBox", "Status Codes (errors and pages not found)"},
        {"ScreenRadioButton",
         "Output to a screen within the program (can be optionally saved to a file)"},
        {"FileRadioButton", "Save to the following file:"},
        {"EmailCheckBox", "  E-Mail this report to the following addresses:"},
        {"BrowseOutputButton", "..."},
        {"AddButton", "&Add"},
        {"DeleteButton", "&Delete"},
        {"FolderButton", "&Folder"},
        {"BrowseButton", "&Browse"},
        {"OkButton", "&Ok"},
        {"HelpButton", "&Help"},
        {"CancelButton", "&Cancel"},
    };
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(field<QAbstractButton>(name)->text(), caption) << name;
    EXPECT_TRUE(field<QPushButton>("OkButton")->isDefault());
    EXPECT_FALSE(field<QPushButton>("DeleteButton")->isEnabled());
    // Every text fits: the window is at least as large as its layout asks.
    EXPECT_GE(form.width(), form.layout()->minimumSize().width());
    EXPECT_GE(form.height(), form.layout()->totalHeightForWidth(form.width()));
}

// Each refusal: one message, and the files, the main list and the fields as
// they were.
TEST_F(PropertiesDialogTest, OkRefusesWithTheFirstMessageThatAppliesAndWritesNothing) {
    struct Case {
        const char* what;
        std::function<void(PropertiesDialogTest&)> fill;
        const char* message;
    };
    const Case cases[] = {
        {"empty name", [](auto& t) { t.fillNew(""); }, kInvalidNameMessage},
        {"blanks only", [](auto& t) { t.fillNew("   "); }, kInvalidNameMessage},
        {"listed name", [](auto& t) { t.fillNew("Other"); }, kInvalidNameMessage},
        {"listed name in other case", [](auto& t) { t.fillNew("wEEKLY "); }, kInvalidNameMessage},
        {"rename to the same name", [](auto& t) { t.openFor("Weekly", "Rename1"); },
         kInvalidNameMessage},
        {"rename in other case",
         [](auto& t) {
             t.openFor("Weekly", "Rename1");
             t.type("NameEdit", "weekly");
         },
         kInvalidNameMessage},
        {"nothing ticked, no inputs, no output",
         [](auto& t) {
             t.click("NewReportButton");
             t.type("NameEdit", "Fresh");
         },
         kNoSelectionMessage},
        {"ticked but no output", [](auto& t) { t.fillNew("Fresh", false); },
         kNoInputsOrOutputMessage},
        {"ticked but no inputs", [](auto& t) { t.fillNew("Fresh", true, false); },
         kNoInputsOrOutputMessage},
        {"a period that ends before it starts",
         [](auto& t) {
             t.fillNew("Fresh");
             t.chooseDays({2026, 3, 10}, {2026, 3, 9});
         },
         "The period's first day, 2026-03-10, comes after its last day, 2026-03-09.  Please "
         "choose the days again."},
    };
    startWithWeekly();
    const std::string reportsBefore = reports();
    const std::string filesBefore = files();
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.what);
        refused.fill(*this);
        const QString name = edit("NameEdit")->text();
        const QStringList inputsBefore = inputs();
        dialogs.clearShown();
        press("OkButton");
        EXPECT_EQ(messageTexts(), QStringList{refused.message});
        EXPECT_EQ(dialogs.shown().front().icon, MessageIcon::Information);
        EXPECT_TRUE(dialog().isVisible());
        EXPECT_EQ(edit("NameEdit")->text(), name);
        EXPECT_EQ(inputs(), inputsBefore);
        EXPECT_EQ(reports(), reportsBefore);
        EXPECT_EQ(files(), filesBefore);
        EXPECT_EQ(listedReports(), QStringList({"Weekly", "Other"}));
        press("CancelButton");
    }
}

TEST_F(PropertiesDialogTest, NewReportIsWrittenInTheProfileFormatAndListedLast) {
    startWithWeekly();
    fillNew("Daily");
    type("DescriptionEdit", "Every day");
    press("CheckBox2");
    press("CheckBox6");
    press("EmailCheckBox");
    type("EmailEdit", "me@example.com");
    press("OkButton");

    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(listedReports(), QStringList({"Weekly", "Other", "Daily"}));
    EXPECT_FALSE(reportList()->item(2)->isSelected());
    const std::string written =
        "\r\n[Daily]\r\nDescription=Every day\r\nVisitors=1\r\nReferrers=0\r\nDNS=1\r\nPages=0\r\n"
        "Bytes=0\r\nBrowser=1\r\nFile=1\r\nOutput=/tmp/out.txt\r\nTotal Options=4\r\n"
        "E-Mail Address=me@example.com\r\nE-Mail=1\r\n";
    EXPECT_EQ(reports(),
              std::string("[Weekly]\r\n") + kWeeklySettings + "\r\n" + kOtherSection + written);
    EXPECT_EQ(files(),
              std::string("[Weekly]\r\n") + kWeeklyInputs +
                  "\r\n[Other]\r\nFile 0=/logs/o\r\n\r\n[Daily]\r\nFile 0=/logs/new.log\r\n");
}

// The traffic and status boxes are saved after the other keys, counted as
// options, loaded back by Modify, and cleared for the next new report.
TEST_F(PropertiesDialogTest, TheTrafficAndStatusBoxesAreSavedCountedAndLoadedBack) {
    start();
    fillNew("Daily");
    press("TrafficCheckBox");
    press("StatusCheckBox");
    press("OkButton");
    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_EQ(reports(), "[Daily]\r\nDescription=\r\nVisitors=1\r\nReferrers=0\r\nDNS=0\r\n"
                         "Pages=0\r\nBytes=0\r\nBrowser=0\r\nFile=1\r\nOutput=/tmp/out.txt\r\n"
                         "Total Options=3\r\nE-Mail Address=\r\nE-Mail=0\r\nTraffic=1\r\n"
                         "Status=1\r\n");

    const struct {
        const char* cleared;
        const char* counted;
        const char* flags;
    } steps[] = {{"TrafficCheckBox", "Total Options=2\r\n", "Traffic=0\r\nStatus=1\r\n"},
                 {"StatusCheckBox", "Total Options=1\r\n", "Traffic=0\r\nStatus=0\r\n"}};
    for (const auto& step : steps) {
        openFor("Daily", "ModifyReport1");
        EXPECT_TRUE(field<QCheckBox>(step.cleared)->isChecked()) << step.cleared;
        press(step.cleared);
        press("OkButton");
        EXPECT_NE(reports().find(step.counted), std::string::npos) << step.cleared;
        EXPECT_TRUE(reports().ends_with(step.flags)) << reports();
    }

    openFor("Daily", "ModifyReport1");
    press("TrafficCheckBox");
    press("CancelButton");
    click("NewReportButton");
    EXPECT_FALSE(field<QCheckBox>("TrafficCheckBox")->isChecked());
    EXPECT_FALSE(field<QCheckBox>("StatusCheckBox")->isChecked());
}

// The period and the robots choice are saved after the other keys, not
// counted as options, shown again and kept by Modify and Rename, and back to
// every line for the next new report. The days are for Between only.
// Alt with the underlined letter of "Period" and "Robots" reaches their
// choices, as the labels of the other tabs do.
TEST_F(PropertiesDialogTest, ThePeriodAndRobotsLabelsLeadToTheirChoices) {
    start();
    click("NewReportButton");
    field<QTabWidget>("PageControl1")->setCurrentIndex(1);
    dialog().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog()));
    for (const auto& [key, name] :
         {std::pair(Qt::Key_P, "PeriodComboBox"), {Qt::Key_R, "RobotsComboBox"}}) {
        combo(name == std::string_view("PeriodComboBox") ? "RobotsComboBox" : "PeriodComboBox")
            ->setFocus();
        QTest::keyClick(&dialog(), key, Qt::AltModifier);
        EXPECT_EQ(dialog().focusWidget(), combo(name)) << name;
    }
    press("CancelButton");
}

TEST_F(PropertiesDialogTest, ThePeriodAndTheRobotsAreSavedAndKeptByModifyAndRename) {
    start();
    click("NewReportButton");
    EXPECT_EQ(entries("PeriodComboBox"),
              QStringList({"All", "Yesterday", "Last 7 Days", "Last 30 Days", "Last Week",
                           "Last Month", "Between"}));
    EXPECT_EQ(entries("RobotsComboBox"),
              QStringList({"Count robots as visitors", "Leave robots out", "Count only robots"}));
    for (const QString& period : entries("PeriodComboBox")) {
        choose("PeriodComboBox", period);
        for (const char* days : {"PeriodFromEdit", "PeriodToEdit"})
            EXPECT_EQ(day(days)->isEnabled(), period == "Between")
                << days << " " << period.toStdString();
    }
    press("CancelButton");

    fillNew("Daily");
    EXPECT_EQ(combo("PeriodComboBox")->currentText(), "All");
    EXPECT_EQ(combo("RobotsComboBox")->currentText(), "Count robots as visitors");
    EXPECT_EQ(day("PeriodFromEdit")->date(), QDate::currentDate().addDays(-7));
    EXPECT_EQ(day("PeriodToEdit")->date(), QDate::currentDate().addDays(-1));
    EXPECT_EQ(day("PeriodToEdit")->displayFormat(), "yyyy-MM-dd");
    EXPECT_TRUE(day("PeriodToEdit")->calendarPopup());
    chooseDays({2026, 3, 1}, {2026, 3, 1});
    choose("RobotsComboBox", "Leave robots out");
    press("OkButton");
    EXPECT_TRUE(messageTexts().isEmpty());
    const std::string saved =
        "Total Options=1\r\nE-Mail Address=\r\nE-Mail=0\r\nPeriod=Between\r\n"
        "Period From=2026-03-01\r\nPeriod To=2026-03-01\r\nRobots=Exclude\r\n";
    EXPECT_TRUE(reports().ends_with(saved)) << reports();

    // Each mode reads the report anew: a new report first clears the fields.
    const auto openCleared = [this](const QString& report, const char* action) {
        click("NewReportButton");
        press("CancelButton");
        openFor(report, action);
    };
    openCleared("Daily", "ModifyReport1");
    EXPECT_EQ(combo("PeriodComboBox")->currentText(), "Between");
    EXPECT_TRUE(day("PeriodFromEdit")->isEnabled());
    EXPECT_EQ(day("PeriodFromEdit")->date(), QDate(2026, 3, 1));
    EXPECT_EQ(day("PeriodToEdit")->date(), QDate(2026, 3, 1));
    EXPECT_EQ(combo("RobotsComboBox")->currentText(), "Leave robots out");
    type("DescriptionEdit", "March");
    press("OkButton");
    EXPECT_TRUE(reports().ends_with(saved)) << reports();
    openCleared("Daily", "Rename1");
    type("NameEdit", "First of March");
    press("OkButton");
    EXPECT_EQ(reports().rfind("[First of March]\r\nDescription=March\r\n", 0), 0u) << reports();
    EXPECT_TRUE(reports().ends_with(saved)) << reports();

    openCleared("First of March", "ModifyReport1");
    choose("PeriodComboBox", "Last Week");
    choose("RobotsComboBox", "Count only robots");
    press("OkButton");
    EXPECT_TRUE(reports().ends_with("Period=Last Week\r\nPeriod From=2026-03-01\r\n"
                                    "Period To=2026-03-01\r\nRobots=Only\r\n"))
        << reports();
    click("NewReportButton");
    EXPECT_EQ(combo("PeriodComboBox")->currentText(), "All");
    EXPECT_FALSE(day("PeriodFromEdit")->isEnabled());
    EXPECT_EQ(combo("RobotsComboBox")->currentText(), "Count robots as visitors");
}

TEST_F(PropertiesDialogTest, ModifyLoadsTheReportAndRemovingTwoOfFiveInputsLeavesThree) {
    addReport("Weekly", kWeeklySettings,
              "File 0=/l/0\r\nFile 1=/l/1\r\nFile 2=/l/2\r\nFile 3=/l/3\r\nFile 4=/l/4\r\n");
    start();
    openFor("Weekly", "ModifyReport1");
    EXPECT_EQ(dialog().mode(), PropertiesMode::Modify);
    EXPECT_EQ(edit("NameEdit")->text(), "Weekly");
    EXPECT_FALSE(edit("NameEdit")->isEnabled());
    EXPECT_EQ(edit("DescriptionEdit")->text(), "All of last week");
    const std::pair<const char*, bool> boxes[] = {
        {"CheckBox1", true},  {"CheckBox2", true}, {"CheckBox3", false},   {"CheckBox4", false},
        {"CheckBox5", false}, {"CheckBox6", true}, {"EmailCheckBox", true}};
    for (const auto& [name, ticked] : boxes)
        EXPECT_EQ(field<QCheckBox>(name)->isChecked(), ticked) << name;
    EXPECT_TRUE(field<QRadioButton>("FileRadioButton")->isChecked());
    EXPECT_EQ(edit("OutputFileEdit")->text(), "/tmp/weekly.txt");
    EXPECT_EQ(edit("EmailEdit")->text(), "a@example.com");
    EXPECT_TRUE(edit("EmailEdit")->isEnabled());
    EXPECT_EQ(inputs(), QStringList({"/l/0", "/l/1", "/l/2", "/l/3", "/l/4"}));

    for (const int row : {3, 0}) {
        QTest::mouseClick(inputList()->viewport(), Qt::LeftButton, {},
                          inputList()->visualItemRect(inputList()->item(row)).center());
        dialogs.answerNextQuestion(true);
        press("DeleteButton");
    }
    type("DescriptionEdit", "Changed");
    press("OkButton");
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(files(), "[Weekly]\r\nFile 0=/l/1\r\nFile 1=/l/2\r\nFile 2=/l/4\r\n");
    EXPECT_EQ(reports(), "[Weekly]\r\nDescription=Changed\r\nVisitors=1\r\nReferrers=0\r\nDNS=1\r\n"
                         "Pages=0\r\nBytes=0\r\nBrowser=1\r\nFile=1\r\nOutput=/tmp/weekly.txt\r\n"
                         "Total Options=4\r\nE-Mail Address=a@example.com\r\nE-Mail=1\r\n");
    EXPECT_EQ(listedReports(), QStringList{"Weekly"});
}

TEST_F(PropertiesDialogTest, RenameMovesTheSettingsToTheNewNameAtTheEnd) {
    startWithWeekly();
    openFor("Weekly", "Rename1");
    EXPECT_EQ(dialog().mode(), PropertiesMode::Rename);
    EXPECT_TRUE(edit("NameEdit")->isEnabled());
    EXPECT_FALSE(edit("DescriptionEdit")->isEnabled());
    for (const char* tab : {"TabSheet2", "TabSheet3", "TabSheet4"})
        EXPECT_FALSE(field<QWidget>(tab)->isEnabled()) << tab;
    type("NameEdit", "Last week");
    press("OkButton");

    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_EQ(listedReports(), QStringList({"Other", "Last week"}));
    EXPECT_EQ(desktop().mainWindow().selectedReport(), std::nullopt);
    EXPECT_EQ(statusText(), "All of last week");
    EXPECT_EQ(reports(), std::string(kOtherSection) + "\r\n[Last week]\r\n" + kWeeklySettings);
    EXPECT_EQ(files(),
              "[Other]\r\nFile 0=/logs/o\r\n\r\n[Last week]\r\n" + std::string(kWeeklyInputs));
    click("NewReportButton");
    for (const char* name : {"NameEdit", "DescriptionEdit", "TabSheet2", "TabSheet3", "TabSheet4"})
        EXPECT_TRUE(field<QWidget>(name)->isEnabled()) << name;
}

// The focus starts in the field that the mode lets the user change first, and
// Enter presses the button that has the focus, not "&Ok".
TEST_F(PropertiesDialogTest, FocusStartsInTheFieldToFillAndEnterPressesTheFocusedButton) {
    ScopedEnv helpFolder("STATVANE_HELP_DIR", HELP_BUILD_DIR);
    startWithWeekly();
    const struct {
        const char* command;
        const char* firstField;
    } modes[] = {
        {"NewReport1", "NameEdit"}, {"Rename1", "NameEdit"}, {"Properties1", "DescriptionEdit"}};
    for (const auto& mode : modes) {
        select("Weekly");
        trigger(mode.command);
        EXPECT_EQ(dialog().focusWidget(), edit(mode.firstField)) << mode.command;
        EXPECT_EQ(clickedByEnter(field<QPushButton>("HelpButton")), QStringList{"HelpButton"});
        EXPECT_EQ(clickedByEnter(field<QPushButton>("CancelButton")), QStringList{"CancelButton"});
        EXPECT_FALSE(dialog().isVisible()) << mode.command;
    }
    EXPECT_EQ(listedReports(), QStringList({"Weekly", "Other"}));
    EXPECT_TRUE(messageTexts().isEmpty());

    click("NewReportButton");
    EXPECT_EQ(clickedByEnter(field<QPushButton>("OkButton")), QStringList{"OkButton"});
    EXPECT_EQ(messageTexts(), QStringList{kInvalidNameMessage});
}

// The first write that fails stops "&Ok" with the error; the old report stays
// whole and listed, and a second "&Ok" completes the rename.
TEST_F(PropertiesDialogTest, RenameAfterAFailedWriteLosesNothingAndCompletesOnRetry) {
    const std::string manyInputs = [] {
        std::string lines;
        for (int i = 0; i < 40; ++i)
            lines += "File " + std::to_string(i) + "=/logs/a/rather/long/path/number" +
                     std::to_string(i) + ".log\r\n";
        return lines;
    }();
    struct Case {
        const char* what;
        rlim_t limit;
        const char* failingFile;
    };
    // reports.dat holds under 700 bytes and files.dat, written first, over 2,000.
    const Case cases[] = {{"first write", 16, "files.dat"}, {"input list", 1200, "files.dat"}};
    for (const auto& failure : cases) {
        SCOPED_TRACE(failure.what);
        std::filesystem::remove(home() / "reports.dat");
        std::filesystem::remove(home() / "files.dat");
        addReport("Weekly", kWeeklySettings, manyInputs);
        addReport("Other", "Description=untouched\r\n", "File 0=/logs/o\r\n");
        restart();
        openFor("Weekly", "Rename1");
        type("NameEdit", "Renamed");
        dialogs.clearShown();
        {
            ScopedFileSizeLimit full(failure.limit);
            press("OkButton");
        }
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.shown()[0].text,
                  QString::fromStdString("Unable to write to " +
                                         (home() / failure.failingFile).string() + "."));
        EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::Error);
        EXPECT_TRUE(dialog().isVisible());
        EXPECT_EQ(edit("NameEdit")->text(), "Renamed");
        EXPECT_EQ(listedReports(), QStringList({"Weekly", "Other"}));
        EXPECT_NE(reports().find(std::string("[Weekly]\r\n") + kWeeklySettings), std::string::npos);
        EXPECT_NE(files().find("[Weekly]\r\n" + manyInputs), std::string::npos);

        press("OkButton");
        EXPECT_EQ(dialogs.shown().size(), 1u);
        EXPECT_FALSE(dialog().isVisible());
        EXPECT_EQ(listedReports(), QStringList({"Other", "Renamed"}));
        EXPECT_EQ(reports(), "[Other]\r\nDescription=untouched\r\n\r\n[Renamed]\r\n" +
                                 std::string(kWeeklySettings));
        EXPECT_EQ(files(), "[Other]\r\nFile 0=/logs/o\r\n\r\n[Renamed]\r\n" + manyInputs);
        EXPECT_EQ(restart().mainWindow().reportNames(),
                  (std::vector<std::string>{"Other", "Renamed"}));
    }
}

TEST_F(PropertiesDialogTest, OnlyTheEmailBoxTickedIsOneOption) {
    start();
    click("NewReportButton");
    type("NameEdit", "Mail only");
    press("FileRadioButton");
    press("EmailCheckBox");
    press("AddButton");
    press("OkButton");
    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_EQ(reports(), "[Mail only]\r\nDescription=\r\nVisitors=0\r\nReferrers=0\r\nDNS=0\r\n"
                         "Pages=0\r\nBytes=0\r\nBrowser=0\r\nFile=1\r\nOutput=\r\n"
                         "Total Options=1\r\nE-Mail Address=\r\nE-Mail=1\r\n");
    EXPECT_EQ(files(), "[Mail only]\r\nFile 0=*Enter a Path*\r\n");
}

// The output choice and the e-mail box, loaded or clicked.
TEST_F(PropertiesDialogTest, ScreenOutputClearsAndDisablesTheEmailBox) {
    addReport("Screen", "Visitors=1\r\nFile=0\r\nE-Mail=1\r\nE-Mail Address=x@example.com\r\n",
              "File 0=/l\r\n");
    start();
    openFor("Screen", "Properties1");
    auto* email = field<QCheckBox>("EmailCheckBox");
    EXPECT_TRUE(field<QRadioButton>("ScreenRadioButton")->isChecked());
    EXPECT_FALSE(email->isChecked());
    EXPECT_FALSE(email->isEnabled());
    EXPECT_FALSE(edit("EmailEdit")->isEnabled());
    EXPECT_FALSE(edit("OutputFileEdit")->isEnabled());
    EXPECT_FALSE(field<QWidget>("BrowseOutputButton")->isEnabled());

    press("FileRadioButton");
    EXPECT_TRUE(email->isEnabled());
    EXPECT_TRUE(edit("OutputFileEdit")->isEnabled());
    EXPECT_FALSE(edit("EmailEdit")->isEnabled());
    press("EmailCheckBox");
    EXPECT_TRUE(edit("EmailEdit")->isEnabled());
    press("ScreenRadioButton");
    EXPECT_FALSE(email->isChecked());
    EXPECT_FALSE(edit("EmailEdit")->isEnabled());

    press("OkButton");
    const std::string text = reports();
    EXPECT_NE(text.find("E-Mail=0\r\n"), std::string::npos);
    EXPECT_NE(text.find("E-Mail Address=x@example.com\r\n"), std::string::npos);
    EXPECT_NE(text.find("Total Options=1\r\n"), std::string::npos);
}

// Enter in the label editor ends the edit; "&Ok" is the default button again
// afterwards.
TEST_F(PropertiesDialogTest, EnterDuringAnInPlaceEditEndsTheEditOnly) {
    start();
    click("NewReportButton");
    dialog().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog()));
    auto* ok = field<QPushButton>("OkButton");
    for (const QString& typed : {QString(), QString("/var/log/typed.log")}) {
        press("AddButton");
        QPointer<QLineEdit> editor = inputList()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_TRUE(editorClosed(editor));
        EXPECT_TRUE(dialog().isVisible());
        EXPECT_TRUE(ok->isDefault());
    }
    EXPECT_EQ(inputs(), QStringList({"*Enter a Path*", "/var/log/typed.log"}));
    EXPECT_TRUE(messageTexts().isEmpty());
    pressKey(edit("NameEdit"), Qt::Key_Return);
    EXPECT_EQ(messageTexts(), QStringList{kInvalidNameMessage});

    // Escape in the editor keeps the old text and the dialog open.
    inputList()->editItem(inputList()->item(1));
    QPointer<QLineEdit> editor = inputList()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "x");
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(editorClosed(editor));
    EXPECT_TRUE(dialog().isVisible());
    EXPECT_EQ(inputs(), QStringList({"*Enter a Path*", "/var/log/typed.log"}));
}

TEST_F(PropertiesDialogTest, DeleteAsksAndDisablesTheButtonEitherWay) {
    addReport("R", "Visitors=1\r\nFile=0\r\n", "File 0=/a\r\nFile 1=/b\r\n");
    start();
    openFor("R", "ModifyReport1");
    auto* deleteButton = field<QPushButton>("DeleteButton");
    const auto clickEntry = [&](int row) {
        QTest::mouseClick(inputList()->viewport(), Qt::LeftButton, {},
                          inputList()->visualItemRect(inputList()->item(row)).center());
    };
    EXPECT_FALSE(deleteButton->isEnabled());
    clickEntry(0);
    EXPECT_TRUE(deleteButton->isEnabled());
    dialogs.answerNextQuestion(false);
    press("DeleteButton");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, Kind::Question);
    EXPECT_EQ(dialogs.shown()[0].caption, "Statvane");
    EXPECT_EQ(dialogs.shown()[0].text, kDeleteInputQuestion);
    EXPECT_EQ(inputs(), QStringList({"/a", "/b"}));
    EXPECT_FALSE(deleteButton->isEnabled());

    clickEntry(1);
    dialogs.answerNextQuestion(true);
    pressKey(inputList(), Qt::Key_Delete);
    EXPECT_EQ(inputs(), QStringList{"/a"});
    EXPECT_FALSE(deleteButton->isEnabled());

    inputList()->clearSelection();
    dialogs.clearShown();
    pressKey(inputList(), Qt::Key_Delete);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(PropertiesDialogTest, BrowseAndFolderAppendWhatIsChosenAndNothingOnCancel) {
    start();
    click("NewReportButton");
    press("BrowseButton");
    press("FolderButton");
    EXPECT_TRUE(inputs().isEmpty());
    EXPECT_FALSE(Registry(settingsFile()).readString(keys::kSettings, "Open Directory"));

    dialogs.answerNextFileDialog({"/logs/x/b.log", "/logs/x/a.log"});
    press("BrowseButton");
    dialogs.answerNextFileDialog({"/var/www/logs"});
    press("FolderButton");
    dialogs.answerNextFileDialog({"/"});
    press("FolderButton");
    press("BrowseButton");
    EXPECT_EQ(inputs(),
              QStringList({"/logs/x/b.log", "/logs/x/a.log", "/var/www/logs/*.*", "/*.*"}));
    EXPECT_EQ(Registry(settingsFile()).readString(keys::kSettings, "Open Directory"),
              "/logs/x/b.log");

    const auto& shown = dialogs.shown();
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(shown[0].kind, Kind::OpenFiles);
    EXPECT_EQ(shown[0].text, "");
    EXPECT_EQ(shown[1].kind, Kind::Folder);
    EXPECT_EQ(shown[1].caption, kFolderPickerCaption);
    EXPECT_EQ(shown[5].kind, Kind::OpenFiles);
    EXPECT_EQ(shown[5].text, "/logs/x/b.log");
}

TEST_F(PropertiesDialogTest, SaveDialogKeepsATypedNameOnCancelAndRemembersTheLastChoice) {
    start();
    click("NewReportButton");
    press("FileRadioButton");
    type("OutputFileEdit", "/typed/name.txt");
    press("BrowseOutputButton");
    EXPECT_EQ(edit("OutputFileEdit")->text(), "/typed/name.txt");
    dialogs.answerNextFileDialog({"/chosen/report.txt"});
    press("BrowseOutputButton");
    EXPECT_EQ(edit("OutputFileEdit")->text(), "/chosen/report.txt");
    press("CancelButton");
    click("NewReportButton");
    press("FileRadioButton");
    press("BrowseOutputButton");
    EXPECT_EQ(edit("OutputFileEdit")->text(), "");

    const auto& shown = dialogs.shown();
    ASSERT_EQ(shown.size(), 3u);
    for (const auto& save : shown) {
        EXPECT_EQ(save.kind, Kind::SaveFile);
        EXPECT_EQ(save.caption, "Statvane");
    }
    EXPECT_EQ(shown[0].text, "");
    EXPECT_EQ(shown[2].text, "/chosen/report.txt");
}

// Texts the file format carries come back as typed, the others as the format
// reads them; the other report's sections stay byte for byte.
TEST_F(PropertiesDialogTest, AwkwardNamesAndTextsRoundTripWithoutTouchingOtherReports) {
    const QString longText(10000, QChar('x'));
    struct Case {
        QString name;
        QString description;
        QString readBack;
    };
    const Case cases[] = {
        {"a=b;c", "key=value; [x]", "key=value; [x]"},
        {"[Other]", "[Other]", "[Other]"},
        {"bra]ket", "]", "]"},
        {QString::fromUtf8("Gr\xc3\xb6\xc3\x9f"
                           "e \xe2\x82\xac"),
         QString::fromUtf8("\xc3\xa9t\xc3\xa9"), QString::fromUtf8("\xc3\xa9t\xc3\xa9")},
        {longText, longText, longText},
        {"padded", "  blanks around  ", "blanks around"},
        {"quoted", "\"in quotes\"", "in quotes"},
        {"pasted lines", "x\r\n[Other]\nDescription=taken", "x  [Other] Description=taken"},
    };
    addReport("Other", "Description=untouched\r\n", "File 0=/logs/o\r\n");
    start();
    for (const auto& awkward : cases) {
        SCOPED_TRACE(awkward.name.left(20).toStdString());
        fillNew(awkward.name);
        type("DescriptionEdit", awkward.description);
        inputList()->item(0)->setText(awkward.description);
        press("OkButton");
        EXPECT_TRUE(messageTexts().isEmpty());
        EXPECT_EQ(listedReports().back(), awkward.name);
        EXPECT_EQ(reports().rfind("[Other]\r\nDescription=untouched\r\n\r\n", 0), 0u);
        EXPECT_EQ(files().rfind("[Other]\r\nFile 0=/logs/o\r\n\r\n", 0), 0u);
        EXPECT_EQ(reports().find("\n[Other]\r\n"), std::string::npos);

        openFor(awkward.name, "ModifyReport1");
        EXPECT_EQ(edit("NameEdit")->text(), awkward.name);
        EXPECT_EQ(edit("DescriptionEdit")->text(), awkward.readBack);
        EXPECT_EQ(inputs(), QStringList{awkward.readBack});
        press("CancelButton");
    }
    EXPECT_EQ(restart().mainWindow().reportNames().size(), std::size(cases) + 1);
}

// Bytes that are not UTF-8 show decoded as Latin-1 and are written back as
// they were read unless the user changes them.
TEST_F(PropertiesDialogTest, LoadedBytesAreKeptUnlessEdited) {
    addReport("caf\xe9", "Description=na\xefve\r\nVisitors=1\r\nFile=0\r\n",
              "File 0=/logs/\xe9t\xe9\r\nFile 1=/logs/plain\r\n");
    start();
    openFor(QString::fromLatin1("caf\xe9"), "ModifyReport1");
    EXPECT_EQ(edit("DescriptionEdit")->text(), QString::fromLatin1("na\xefve"));
    inputList()->item(1)->setText(QString::fromUtf8("/logs/\xc3\xa9"));
    press("OkButton");
    EXPECT_NE(reports().find("[caf\xe9]\r\nDescription=na\xefve\r\n"), std::string::npos);
    EXPECT_EQ(files(), "[caf\xe9]\r\nFile 0=/logs/\xe9t\xe9\r\nFile 1=/logs/\xc3\xa9\r\n");
}

TEST_F(PropertiesDialogTest, OpeningWhileOpenKeepsTheModeAndTheContents) {
    startWithWeekly();
    openFor("Weekly", "ModifyReport1");
    type("DescriptionEdit", "Typed, not saved");
    select("Other");
    trigger("Rename1");
    click("NewReportButton");
    trigger("Properties1");
    EXPECT_EQ(dialog().mode(), PropertiesMode::Modify);
    EXPECT_EQ(edit("NameEdit")->text(), "Weekly");
    EXPECT_EQ(edit("DescriptionEdit")->text(), "Typed, not saved");

    // The report stays the one the dialog was opened for.
    press("OkButton");
    EXPECT_NE(reports().find("[Weekly]\r\nDescription=Typed, not saved\r\n"), std::string::npos);
    EXPECT_NE(reports().find(kOtherSection), std::string::npos);
}

TEST_F(PropertiesDialogTest, ClosingStoresTheSizeAndCancelClearsTheFields) {
    ScopedEnv helpFolder("STATVANE_HELP_DIR", HELP_BUILD_DIR);
    startWithWeekly();
    openFor("Weekly", "ModifyReport1");
    press("HelpButton");
    const auto* browser = [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->windowTitle() == "Statvane Help" && window->isVisible())
                return window->findChild<QTextBrowser*>("HelpBrowser");
        }
        return static_cast<QTextBrowser*>(nullptr);
    }();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->source().toString().endsWith("properties.html"));

    press("CancelButton");
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(storedInteger(keys::kPositions, "Form2 Width"), dialog().width());
    EXPECT_EQ(storedInteger(keys::kPositions, "Form2 Height"), dialog().height());
    EXPECT_EQ(edit("NameEdit")->text(), "");
    EXPECT_EQ(edit("DescriptionEdit")->text(), "");
    EXPECT_EQ(edit("OutputFileEdit")->text(), "");
    EXPECT_FALSE(field<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_FALSE(field<QRadioButton>("FileRadioButton")->isChecked());
    EXPECT_EQ(dialog().mode(), PropertiesMode::New);
    EXPECT_NE(reports().find(kWeeklySettings), std::string::npos);

    // Escape is Cancel as well; the stored size comes back on the next show.
    Registry registry(settingsFile());
    SettingsStore(registry).writeWindowSize("Form2", {dialog().width() + 30, dialog().height()});
    click("NewReportButton");
    EXPECT_EQ(dialog().width(), storedInteger(keys::kPositions, "Form2 Width"));
    EXPECT_EQ(edit("NameEdit")->text(), "");
    EXPECT_TRUE(inputs().isEmpty());
    pressKey(edit("NameEdit"), Qt::Key_Escape);
    EXPECT_FALSE(dialog().isVisible());
}

} // namespace
} // namespace statvane::test
