#pragma once

#include "analysis/analysis_result.h"
#include "settings/settings_store.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace statvane {

// How a saved report goes out by mail: its recipients, asked for once the
// file is written (none when the report is not to be mailed), and the start
// of a delivery of the file to them, true when the delivery started.
struct ReportMail {
    std::function<std::optional<std::string>()> recipients;
    std::function<bool(const std::string& recipients)> start;
};

enum class MailStart { NotAsked, Started, NotStarted };

// Writes the report to the file (raising what writeReport raises), then
// starts its mail when recipients are given.
MailStart saveThenMail(AnalysisResult& result, SettingsStore& settings,
                       const std::filesystem::path& file, const ReportMail& mail);

} // namespace statvane
