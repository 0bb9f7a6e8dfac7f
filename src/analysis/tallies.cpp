#include "analysis/tallies.h"

namespace statvane {
namespace {

void removeFiltered(TallyTable& pages, const std::vector<std::string>& filters) {
    for (const auto& filter : filters)
        pages.removeIf(
            [&filter](const TallyRow& row) { return row.key().find(filter) != std::string::npos; });
}

} // namespace

bool presentTally(const char* stepText, TallyTable counted, TallyTable& into,
                  CheckPoints& checkPoints, int progressStep) {
    checkPoints.startStep(stepText, progressStep);
    into = std::move(counted);
    return checkPoints.pass([&into] { return std::to_string(into.size()); }, true);
}

void filterPages(AnalysisResult& result, const std::vector<std::string>& filters) {
    removeFiltered(result.topPages, filters);
}

bool presentTraffic(const PassTotals& totals, AnalysisResult& result, CheckPoints& checkPoints,
                    int progressStep) {
    checkPoints.startStep(kTrafficStep, progressStep);
    result.traffic = trafficFigures(totals);
    return checkPoints.pass([&result] { return std::to_string(result.traffic->days.size()); },
                            true);
}

bool presentStatus(const PassTotals& totals, const std::vector<std::string>& pageFilters,
                   AnalysisResult& result, CheckPoints& checkPoints, int progressStep) {
    checkPoints.startStep(kStatusStep, progressStep);
    result.status = statusFigures(totals);
    removeFiltered(result.status->notFound, pageFilters);
    removeFiltered(result.status->serverErrors, pageFilters);
    return checkPoints.pass([&result] { return std::to_string(result.status->codes.size()); },
                            true);
}

} // namespace statvane
