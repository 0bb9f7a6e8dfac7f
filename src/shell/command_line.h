#pragma once

#include "profiles/report_period.h"

#include <optional>
#include <string>
#include <vector>

namespace statvane {

struct CommandLine {
    enum class Mode { Desktop, Batch, List, Version, Help, Invalid };
    Mode mode = Mode::Invalid;
    // Batch: the report to run. Desktop: the report to select and run at
    // start, when one is named.
    std::optional<std::string> reportName;
    // Desktop: end the program after that run (the last argument is "close").
    bool closeAfterRun = false;
    // Batch: the period of this run in place of the report's own (--period).
    std::optional<ReportPeriod> period;
    // Invalid: what is wrong when an option's value is, told in place of the
    // usage text; empty for a wrong use.
    std::string problem;
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText();

inline constexpr const char* kVersionText = "Statvane v1.0";

} // namespace statvane
