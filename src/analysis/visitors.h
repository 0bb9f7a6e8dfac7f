#pragma once

#include "analysis/analysis_result.h"
#include "analysis/check_points.h"
#include "analysis/log_lines.h"

#include <filesystem>
#include <string>
#include <vector>

namespace statvane {

class ResolverLibrary;

// The unique client addresses, ascending ignoring case; an address equal to
// one already met, ignoring case, keeps the first spelling. False when
// cancelled.
bool compileVisitors(const LogLines& lines, AnalysisResult& result, CheckPoints& checkPoints,
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
