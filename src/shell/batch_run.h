#pragma once

#include "profiles/report_period.h"

#include <optional>
#include <string>

namespace statvane {

// Runs the named report without a window; returns the process's exit
// status: 0 delivered, 1 ended with a message or an error. A period given
// stands for the report's own in this run.
int runBatch(const std::string& reportName, const std::optional<ReportPeriod>& period);

} // namespace statvane
