#include "shell/desktop_start.h"

#include "gui/command_guard.h"
#include "gui/desktop.h"
#include "gui/message_boxes.h"
#include "gui/qt_dialogs.h"
#include "gui/report_icon.h"
#include "platform/single_instance.h"

#include <QApplication>
#include <cstdio>

namespace statvane {
namespace {

constexpr const char* kNoDisplayText =
    "Statvane: the desktop program needs a display (DISPLAY or WAYLAND_DISPLAY is not set); "
    "\"statvane --batch REPORT\" runs a report without one.\n";

bool displayAvailable() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// The general error handler around start-up and the message loop.
int runWindows(const CommandLine& commandLine) {
    QtDialogs dialogs;
    MessageBoxPrompt prompt(dialogs);
    runGuarded(prompt, [&] {
        Desktop desktop(dialogs, StartupRun{commandLine.reportName, commandLine.closeAfterRun},
                        [] { QApplication::exit(0); });
        desktop.mainWindow().show();
        desktop.tellOldReports();
        QApplication::exec();
    });
    return 0;
}

} // namespace

int runDesktop(int& argc, char** argv, const CommandLine& commandLine) {
    if (!displayAvailable()) {
        std::fputs(kNoDisplayText, stderr);
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("Statvane");
    QApplication::setWindowIcon(reportIcon());
    const SingleInstance instance;
    if (instance.state() == SingleInstance::State::HeldByOther)
        return 0;
    return runWindows(commandLine);
}

} // namespace statvane
