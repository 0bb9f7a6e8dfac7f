#pragma once

#include "shell/command_line.h"

namespace statvane {

// Starts the desktop program: one copy at a time, its windows, the report
// named on the command line. Returns the process's exit status.
int runDesktop(int& argc, char** argv, const CommandLine& commandLine);

} // namespace statvane
