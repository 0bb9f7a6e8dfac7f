#pragma once

#include "analysis/analysis_result.h"
#include "analysis/check_points.h"
#include "analysis/tally_table.h"

#include <filesystem>
#include <string>
#include <vector>

namespace statvane {

class ResolverLibrary;

// The visitors step over the unique client addresses that the log pass found
// (first spellings): they become the visitors list, ascending ignoring case,
// and their number is the step's count. False when cancelled.
bool compileVisitors(const TallyTable& addresses, AnalysisResult& result, CheckPoints& checkPoints,
                     int progressStep);

// Replaces each visitor that is not in the cache of failures with its host
// name, caching those that do not resolve; the cache in dnsLog is trimmed to
// maxCache (the integer conversion of the settings; its error is raised before
// any look-up) and written back. On Cancel the cache is written untrimmed,
// with every failure known by then in list order, and false is returned. A
// resolver library with ResolveMany gets the addresses to look up in one batch
// before the walk (see VisitorNames), with the same outcome as one look-up per
// visitor.
bool reverseLookup(AnalysisResult& result, const std::filesystem::path& dnsLog,
                   const std::string& maxCache, const ResolverLibrary& resolver,
                   CheckPoints& checkPoints, int progressStep);

// Removes the visitors that contain a filter's text: a leading "*" dropped,
// then the text cut at its first "*".
void filterVisitors(AnalysisResult& result, const std::vector<std::string>& filters);

} // namespace statvane
