#pragma once

#include <string>

namespace statvane {

// Runs the named report without a window; returns the process's exit
// status: 0 delivered, 1 ended with a message or an error.
int runBatch(const std::string& reportName);

} // namespace statvane
