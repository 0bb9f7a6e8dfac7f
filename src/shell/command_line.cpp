#include "shell/command_line.h"

namespace statvane {

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h"))
        return {CommandLine::Mode::Help, {}};
    if (arguments.size() == 2 && arguments[0] == "--batch" && !arguments[1].empty())
        return {CommandLine::Mode::Batch, arguments[1]};
    return {};
}

std::string usageText() {
    return R"(Usage: statvane --batch REPORT
       statvane --help

Runs the report named REPORT (the first report whose name equals it, ignoring
letter case) without a window and without a display:
  - a report that saves to a file writes that file (and mails it when the
    report asks for e-mail, waiting until the mail dialogue has ended);
  - a report that shows its result on screen prints the text report to
    standard output instead.
Every message the run would show in a message box is printed to standard
error as "Statvane: " followed by the message's text. While the run works, a
progress line is drawn on standard error when that is a terminal; Ctrl+C
cancels the run.

Exit status: 0 when the report was delivered, 1 when the run ended with a
message or an error (unknown report, missing files, a write error, Cancel),
2 for a wrong command line.

Files: the reports live in reports.dat and files.dat in the program directory
($STATVANE_HOME, else the program's own folder when it is writable, else
~/.local/share/statvane); the settings in $STATVANE_SETTINGS, else
~/.config/statvane/registry.reg.
)";
}

} // namespace statvane
