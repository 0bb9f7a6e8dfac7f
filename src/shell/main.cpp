#include "shell/batch_run.h"
#include "shell/command_line.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("Statvane");
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const statvane::CommandLine commandLine = statvane::parseCommandLine(arguments);
    switch (commandLine.mode) {
    case statvane::CommandLine::Mode::Help:
        std::fputs(statvane::usageText().c_str(), stdout);
        return 0;
    case statvane::CommandLine::Mode::Batch:
        return statvane::runBatch(commandLine.reportName);
    case statvane::CommandLine::Mode::Invalid:
        break;
    }
    std::fputs(statvane::usageText().c_str(), stderr);
    return 2;
}
