#pragma once

#include "analysis/analysis_result.h"
#include "analysis/check_points.h"
#include "analysis/tally_table.h"

#include <string>
#include <vector>

namespace statvane {

inline constexpr const char* kReferrersStep = "Tallying Referrer Sites...";
inline constexpr const char* kPagesStep = "Calculating Top Pages...";
inline constexpr const char* kBrowsersStep = "Gathering Browser Types...";

// The step of a table that the log pass counted (referrers, top pages or
// browsers): its text and the bar's advance, then the table takes its place
// in the result and its number of rows is the step's count. False when
// cancelled.
bool presentTally(const char* stepText, TallyTable counted, TallyTable& into,
                  CheckPoints& checkPoints, int progressStep);

// Removes the page rows whose address contains a filter text.
void filterPages(AnalysisResult& result, const std::vector<std::string>& filters);

} // namespace statvane
