#include "gui/desktop_fixture.h"
#include "platform/registry.h"
#include "settings/settings_store.h"

#include <QApplication>
#include <QScreen>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

namespace statvane::test {
namespace {

// A window of the desktop, by the name its size is stored under, and how a
// user brings it on screen.
struct Window {
    const char* form;
    std::function<QWidget&(Desktop&)> show;
};

void PrintTo(const Window& window, std::ostream* out) {
    *out << window.form;
}

const Window kWindows[] = {
    {"Form1", [](Desktop& desktop) -> QWidget& { return desktop.mainWindow(); }},
    {"Form2",
     [](Desktop& desktop) -> QWidget& {
         desktop.openProperties(PropertiesMode::New);
         return desktop.propertiesDialog();
     }},
    {"Form3",
     [](Desktop& desktop) -> QWidget& {
         desktop.showOptions();
         return desktop.optionsWindow();
     }},
    {"Form4",
     [](Desktop& desktop) -> QWidget& {
         desktop.progressWindow().showProgress();
         return desktop.progressWindow();
     }},
    {"Form5",
     [](Desktop& desktop) -> QWidget& {
         desktop.resultsWindow().showResult(AnalysisResult{});
         return desktop.resultsWindow();
     }},
};

class WindowSizeTest : public DesktopFixture, public ::testing::WithParamInterface<Window> {
  protected:
    QSize shownSize() { return GetParam().show(desktop()).size(); }
    void storeSize(QSize size) {
        Registry registry(settingsFile());
        SettingsStore(registry).writeWindowSize(GetParam().form, {size.width(), size.height()});
    }
};

TEST_P(WindowSizeTest, StoredSizesSmallerThanTheDesignAreAppliedAndLargerOnesFitTheScreen) {
    start();
    const QSize design = shownSize();
    const QSize smaller = design - QSize(10, 10);
    storeSize(smaller);
    restart();
    EXPECT_EQ(shownSize(), smaller);

    storeSize({5000, 5000});
    restart();
    EXPECT_EQ(shownSize(), desktop().mainWindow().screen()->availableGeometry().size());
}

// Large fonts make the layouts ask for more room than the design size.
TEST_P(WindowSizeTest, TheFirstShowGivesTheLayoutAtLeastTheRoomItAsksFor) {
    const QFont normal = QApplication::font();
    QFont large = normal;
    large.setPointSizeF(normal.pointSizeF() * 2.5);
    QApplication::setFont(large);
    start();
    QWidget& window = GetParam().show(desktop());
    const QSize wanted = window.sizeHint();
    const QSize shown = window.size();
    QApplication::setFont(normal);
    EXPECT_GE(shown.width(), wanted.width());
    EXPECT_GE(shown.height(), wanted.height());
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowSizeTest, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.form); });

} // namespace
} // namespace statvane::test
