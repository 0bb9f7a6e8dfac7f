#include "analysis/tallies.h"

namespace statvane {

bool presentTally(const char* stepText, TallyTable counted, TallyTable& into,
                  CheckPoints& checkPoints, int progressStep) {
    checkPoints.startStep(stepText, progressStep);
    into = std::move(counted);
    return checkPoints.pass([&into] { return std::to_string(into.size()); }, true);
}

void filterPages(AnalysisResult& result, const std::vector<std::string>& filters) {
    for (const auto& filter : filters) {
        result.topPages.removeIf(
            [&filter](const TallyRow& row) { return row.key().find(filter) != std::string::npos; });
    }
}

} // namespace statvane
