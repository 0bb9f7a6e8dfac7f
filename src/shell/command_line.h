#pragma once

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
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText();

inline constexpr const char* kVersionText = "Statvane v1.0";

} // namespace statvane
