#pragma once

#include "gui/desktop.h"
#include "gui/dialog_script.h"
#include "support/temp_dir.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

namespace statvane::test {

// How long a test waits at most for what comes a moment later (a recorder's
// file, a click posted by an accelerator, an editor deleted later), in ms:
// generous, since a loaded machine may be slow.
inline constexpr int kPatience = 10000;

// A desktop program over a program directory and a settings file of its own,
// with every message box and question answered by the dialog script.
class DesktopFixture : public ::testing::Test {
  public:
    DesktopFixture();

    // Starts the program: the windows are created and the main window shown.
    Desktop& start(StartupRun startup = {});
    // Ends it and starts it again over the same files.
    Desktop& restart();

    void addReport(const std::string& name, const std::string& settings,
                   const std::string& inputs = {});
    // A report of the given analyses over a generated log, saved to a file.
    void addSavedReport(const std::string& name, const std::string& analyses, int totalOptions,
                        const std::filesystem::path& log, const std::filesystem::path& output);
    static void writeLog(const std::filesystem::path& file, int lines);

    template <typename T> T* control(QWidget& window, const char* name) {
        T* found = window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QListWidget* reportList() { return control<QListWidget>(desktop().mainWindow(), "ListView1"); }
    // The labels of the main window's list, top to bottom.
    QStringList listedReports();
    QString statusText() { return control<QLabel>(desktop().mainWindow(), "StatusBar1")->text(); }
    void click(const char* button);
    // The window whose controls press() clicks: the main window unless a
    // test of another window says otherwise.
    virtual QWidget& windowUnderTest() { return desktop().mainWindow(); }
    // Clicks a control of that window near its left edge, where a check box
    // or an option button has its box, with its tab brought to the front.
    void press(const std::string& name);
    // The message boxes and questions shown so far, not the file dialogs.
    std::vector<const ShownDialog*> messages();
    QStringList messageTexts();
    void trigger(const char* action);
    // A key pressed with the focus in the widget, its window active.
    void pressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {});
    void select(const QString& report);
    // The buttons of its window, by object name, that Enter clicks while the
    // button has the focus.
    QStringList clickedByEnter(QPushButton* focused);
    std::optional<std::int32_t> storedInteger(const char* key, const std::string& value);

    // Makes the test program that records how it was started the chosen
    // browser (named in the settings file); call before start().
    void chooseRecordingBrowser();
    // The record of the browser's next start, empty when none came within
    // ten seconds: the number of arguments, the program and the arguments,
    // each ending in a zero byte.
    std::string takeBrowserStart();

    Desktop& desktop() { return *desktop_; }
    // How often the program asked to end its message loop.
    int endRequests = 0;
    std::filesystem::path home() const { return dir_ / "home"; }
    std::filesystem::path settingsFile() const { return dir_ / "registry.reg"; }

    TempDir dir_;
    ScopedEnv homeVariable_;
    ScopedEnv settingsVariable_;
    ScopedEnv offlineVariable_;
    DialogScript dialogs;
    std::optional<ScopedEnv> recordVariable_;

  private:
    std::unique_ptr<Desktop> desktop_;
};

} // namespace statvane::test
