#pragma once

#include "analysis/analysis_result.h"
#include "analysis/check_points.h"
#include "analysis/log_lines.h"

#include <string>
#include <vector>

namespace statvane {

// Each tally passes once over the lines and counts one key per line in first-
// occurrence order. They return false when cancelled.

// Referrers in lower case, of at least 3 characters, that contain none of the
// filter texts.
bool tallyReferrers(const LogLines& lines, AnalysisResult& result,
                    const std::vector<std::string>& filters, CheckPoints& checkPoints,
                    int progressStep);

// Requested paths as full addresses on the web site.
bool tallyPages(const LogLines& lines, AnalysisResult& result, const std::string& webSite,
                CheckPoints& checkPoints, int progressStep);

// Removes the page rows whose address contains a filter text.
void filterPages(AnalysisResult& result, const std::vector<std::string>& filters);

// The rest of each line after its fourth double quote; a new text needs at
// least 6 characters to become a row.
bool tallyBrowsers(const LogLines& lines, AnalysisResult& result, CheckPoints& checkPoints,
                   int progressStep);

} // namespace statvane
