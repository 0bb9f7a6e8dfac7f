#include "shell/command_line.h"

#include "platform/ascii.h"

namespace statvane {
namespace {

CommandLine modeOnly(CommandLine::Mode mode) {
    CommandLine commandLine;
    commandLine.mode = mode;
    return commandLine;
}

bool isOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

CommandLine periodProblem(const std::string& value) {
    CommandLine commandLine;
    commandLine.problem = "--period: \"" + value +
                          "\" is not a period: use all, yesterday, last 7 days, last 30 days, "
                          "last week, last month or FROM..TO (two dates yyyy-mm-dd).";
    return commandLine;
}

// "--batch REPORT" and "--period PERIOD", each once, in either order.
CommandLine batchCommand(const std::vector<std::string>& arguments) {
    std::optional<std::string> report;
    std::optional<std::string> period;
    if (arguments.size() % 2 != 0)
        return {};
    for (std::size_t at = 0; at < arguments.size(); at += 2) {
        const std::string& option = arguments[at];
        auto* value = option == "--batch" ? &report : option == "--period" ? &period : nullptr;
        if (!value || *value)
            return {};
        *value = arguments[at + 1];
    }
    if (!report || report->empty())
        return {};
    CommandLine commandLine = modeOnly(CommandLine::Mode::Batch);
    commandLine.reportName = report;
    if (!period)
        return commandLine;
    commandLine.period = parsePeriodArgument(*period);
    return commandLine.period ? commandLine : periodProblem(*period);
}

CommandLine optionCommand(const std::vector<std::string>& arguments) {
    const std::string& option = arguments[0];
    if (arguments.size() == 1) {
        if (option == "--help" || option == "-h")
            return modeOnly(CommandLine::Mode::Help);
        if (option == "--version")
            return modeOnly(CommandLine::Mode::Version);
        if (option == "--list")
            return modeOnly(CommandLine::Mode::List);
    }
    return batchCommand(arguments);
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return modeOnly(CommandLine::Mode::Desktop);
    if (isOption(arguments[0]))
        return optionCommand(arguments);
    for (const auto& argument : arguments) {
        if (isOption(argument))
            return {};
    }
    CommandLine commandLine = modeOnly(CommandLine::Mode::Desktop);
    commandLine.reportName = arguments.front();
    commandLine.closeAfterRun = ascii::equalsIgnoringCase(arguments.back(), "close");
    return commandLine;
}

std::string usageText() {
    return R"(Usage: statvane [REPORT [... close]]
       statvane --batch REPORT [--period PERIOD]
       statvane --list
       statvane --version
       statvane --help

Without arguments, starts the desktop program with its window. Only one copy
runs at a time: a second start while one runs ends at once.

With REPORT, the desktop program selects the first report whose name equals
REPORT (ignoring letter case) and runs it as "Analyze Now" would; when the
last argument is "close", the program ends after the run. A name with blanks
goes in quotes. A name that matches no report starts the program without a
run. The desktop program needs a display.

--batch REPORT runs the report without a window and without a display (for
cron), even while the desktop program is open:
  - a report that saves to a file writes that file (and mails it when the
    report asks for e-mail, waiting until the mail dialogue has ended);
  - a report that shows its result on screen prints the text report to
    standard output instead.
Every message the run would show in a message box is printed to standard
error as "Statvane: " followed by the message's text. While the run works, a
progress line is drawn on standard error when that is a terminal; Ctrl+C
cancels the run.

--period PERIOD, with --batch, counts only the log lines of that period in
this run, in place of the report's own period; the report is not changed.
PERIOD is all, yesterday, "last 7 days" or "last 30 days" (both ending
yesterday), "last week" (Monday to Sunday) or "last month", in any letter
case, or FROM..TO, two dates written yyyy-mm-dd, both days included, such as
2026-11-01..2026-11-30. Days are counted back from today on the machine's
clock. A weekly report for cron:
  statvane --batch Weekly --period "last week"

--list prints the names of the reports, one a line. --version prints the
program's version.

Exit status: 0 when the program ended normally or the report was delivered;
1 when a batch run ended with a message or an error (unknown report, missing
files, a write error, Cancel); 2 for a wrong command line, or for the desktop
program started without a display.

Logs compressed with gzip or bzip2 are read as they are decompressed; they
are recognised by their contents, not their names, so a pattern such as
*access.log* takes the rotated .gz files too. The reverse look-ups of a run
are asked together, many at once, so that names that never answer cost their
time-out once, not once each; the report is the same as one look-up at a
time would give. The bytes step asks the web site for several pages at once
($STATVANE_PAGES_AT_ONCE, default 16) with the figures of one page at a time;
a site that answers nothing for 30 seconds is given up, its remaining pages
adding nothing.

Files: the reports live in reports.dat and files.dat in the program directory
($STATVANE_HOME, else the program's own folder when it runs from the folder
it was built in, else $XDG_DATA_HOME/statvane, by default
~/.local/share/statvane); the settings in $STATVANE_SETTINGS, else
~/.config/statvane/registry.reg. See also statvane(1).
)";
}

} // namespace statvane
