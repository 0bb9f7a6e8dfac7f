#pragma once

#include <optional>
#include <string>
#include <vector>

namespace statvane {

struct CommandLine {
    enum class Mode { Help, Batch, Invalid };
    Mode mode = Mode::Invalid;
    std::string reportName; // for Batch
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText();

} // namespace statvane
