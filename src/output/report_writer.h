#pragma once

#include "analysis/analysis_result.h"
#include "settings/settings_store.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace statvane {

using TextSink = std::function<void(std::string_view)>;

// The text report of a result, given to `sink` a piece at a time: the summary
// block, then a section for each list that has entries, every line ended by
// CR LF. Sets the sort column "Index" to 1 and leaves the three tables sorted
// by count, highest first.
void produceReport(AnalysisResult& result, SettingsStore& settings, TextSink sink);

// The same report as one text.
std::string buildReport(AnalysisResult& result, SettingsStore& settings);

// Writes the report to a file in one operation, creating it or replacing it
// whole (the previous file stays as it was when writing fails). Raises
// Error("Cannot create file <path>") when the file cannot be created, and
// Error("Stream write error") when writing fails; the error's detail names
// the file and the system's reason.
void writeReport(AnalysisResult& result, SettingsStore& settings,
                 const std::filesystem::path& file);

} // namespace statvane
