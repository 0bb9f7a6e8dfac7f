#pragma once

#include "analysis/analysis_result.h"
#include "analysis/check_points.h"
#include "analysis/pass_totals.h"
#include "analysis/tally_table.h"

#include <string>
#include <vector>

namespace statvane {

inline constexpr const char* kReferrersStep = "Tallying Referrer Sites...";
inline constexpr const char* kPagesStep = "Calculating Top Pages...";
inline constexpr const char* kBrowsersStep = "Gathering Browser Types...";
inline constexpr const char* kTrafficStep = "Tallying Traffic over Time...";
inline constexpr const char* kStatusStep = "Tallying Status Codes...";

// The step of a table that the log pass counted (referrers, top pages or
// browsers): its text and the bar's advance, then the table takes its place
// in the result and its number of rows is the step's count. False when
// cancelled.
bool presentTally(const char* stepText, TallyTable counted, TallyTable& into,
                  CheckPoints& checkPoints, int progressStep);

// Removes the page rows whose address contains a filter text.
void filterPages(AnalysisResult& result, const std::vector<std::string>& filters);

// The steps of the figures the log pass counted by time and by status code:
// the step's text and advance, then the figures take their place in the
// result; the step's count is the number of days, or of codes. The pages
// not found or failing lose the rows a page filter removes. False when
// cancelled.
bool presentTraffic(const PassTotals& totals, AnalysisResult& result, CheckPoints& checkPoints,
                    int progressStep);
bool presentStatus(const PassTotals& totals, const std::vector<std::string>& pageFilters,
                   AnalysisResult& result, CheckPoints& checkPoints, int progressStep);

} // namespace statvane
