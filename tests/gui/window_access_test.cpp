#include "gui/desktop_fixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QTextBrowser>
#include <functional>
#include <gtest/gtest.h>

namespace statvane::test {
namespace {

// A window with a Help button, how it is opened from the main window, and
// its help topic.
struct HelpedWindow {
    const char* name;
    std::function<QWidget&(DesktopFixture&)> open;
    const char* topic;
};

const HelpedWindow kWindows[] = {
    {"properties",
     [](DesktopFixture& t) -> QWidget& {
         t.click("NewReportButton");
         return t.desktop().propertiesDialog();
     },
     "properties.html"},
    {"options",
     [](DesktopFixture& t) -> QWidget& {
         t.trigger("Options1");
         return t.desktop().optionsWindow();
     },
     "options.html"},
    {"results",
     [](DesktopFixture& t) -> QWidget& {
         t.select("Shown");
         t.click("AnalyzeNowButton");
         return t.desktop().resultsWindow();
     },
     "results.html"},
};

// The page the help window shows, and the help window hidden again; empty
// when it is not shown.
QString takeShownTopic() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowTitle() == "Statvane Help" && window->isVisible()) {
            window->hide();
            return window->findChild<QTextBrowser*>("HelpBrowser")->source().fileName();
        }
    }
    return {};
}

class WindowAccessTest : public DesktopFixture {
  protected:
    WindowAccessTest() {
        writeLog(log_, 3);
        addReport("Shown", "Visitors=1\r\nTotal Options=1\r\n", "File 0=" + log_.string() + "\r\n");
        start();
    }

    std::filesystem::path log_ = dir_ / "access.log";
    ScopedEnv helpFolder_{"STATVANE_HELP_DIR", HELP_BUILD_DIR};
};

TEST_F(WindowAccessTest, F1OnEachWindowWithAHelpButtonOpensItsTopic) {
    for (const HelpedWindow& each : kWindows) {
        QWidget& window = each.open(*this);
        ASSERT_TRUE(window.isVisible()) << each.name;
        pressKey(&window, Qt::Key_F1);
        EXPECT_EQ(takeShownTopic().toStdString(), each.topic) << each.name;
        window.hide();
    }
    EXPECT_TRUE(dialogs.shown().empty());
}

// A screen reader names each field by its label, or by the control that
// stands for one, and names the buttons that show only "...".
TEST_F(WindowAccessTest, EveryFieldAndEveryIconButtonHasAName) {
    for (const HelpedWindow& each : kWindows) {
        QWidget& window = each.open(*this);
        QList<QWidget*> labelled;
        for (const QLabel* label : window.findChildren<QLabel*>())
            labelled << label->buddy();
        for (QLineEdit* field : window.findChildren<QLineEdit*>()) {
            EXPECT_TRUE(labelled.contains(field) || !field->accessibleName().isEmpty())
                << each.name << " " << field->objectName().toStdString();
        }
        for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
            EXPECT_TRUE(button->text() != "..." || !button->accessibleName().isEmpty())
                << each.name << " " << button->objectName().toStdString();
        }
        window.hide();
    }
}

} // namespace
} // namespace statvane::test
