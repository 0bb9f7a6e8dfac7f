#include "gui/command_guard.h"
#include "platform/stream_prompt.h"
#include "shell/batch_run.h"
#include "shell/command_line.h"
#include "shell/desktop_start.h"
#include "shell/report_list.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

namespace {

int runCommand(const statvane::CommandLine& commandLine) {
    using Mode = statvane::CommandLine::Mode;
    switch (commandLine.mode) {
    case Mode::Batch:
        return statvane::runBatch(*commandLine.reportName, commandLine.period);
    case Mode::List:
        return statvane::printReportNames();
    case Mode::Version:
        std::printf("%s\n", statvane::kVersionText);
        return 0;
    case Mode::Help:
        std::fputs(statvane::usageText().c_str(), stdout);
        return 0;
    case Mode::Invalid:
        if (!commandLine.problem.empty()) {
            std::fprintf(stderr, "Statvane: %s\n", commandLine.problem.c_str());
            return 2;
        }
        break;
    case Mode::Desktop:
        break;
    }
    std::fputs(statvane::usageText().c_str(), stderr);
    return 2;
}

// The commands that need no window: they run without a display. An error
// that escapes one is printed and ends it with exit code 1.
int runWithoutWindow(int& argc, char** argv, const statvane::CommandLine& commandLine) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("Statvane");
    int status = 1;
    statvane::StreamPrompt prompt(stderr);
    statvane::runGuarded(prompt, [&] { status = runCommand(commandLine); });
    return status;
}

} // namespace

int main(int argc, char** argv) {
    // A write beyond the file size limit (ulimit -f) then fails with EFBIG
    // and is told like any failed write, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const statvane::CommandLine commandLine = statvane::parseCommandLine(arguments);
    if (commandLine.mode == statvane::CommandLine::Mode::Desktop)
        return statvane::runDesktop(argc, argv, commandLine);
    return runWithoutWindow(argc, argv, commandLine);
}
