#pragma once

namespace statvane {

// Prints the names of the reports, one a line; returns the exit status.
int printReportNames();

} // namespace statvane
