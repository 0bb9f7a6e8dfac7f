#include "analysis/status_figures.h"

namespace statvane {
namespace {

TallyTable highestFirst(const TallyTable& table) {
    TallyTable sorted = table;
    sorted.stableSort([](const TallyRow& a, const TallyRow& b) { return a.count > b.count; });
    return sorted;
}

} // namespace

std::int64_t StatusFigures::hits() const {
    std::int64_t total = uncoded;
    for (const auto& [code, count] : codes)
        total += count;
    return total;
}

StatusFigures statusFigures(const PassTotals& totals) {
    StatusFigures figures;
    for (std::size_t i = 0; i < totals.statuses.size(); ++i)
        if (totals.statuses[i] > 0)
            figures.codes.emplace_back(kLowestStatus + static_cast<int>(i), totals.statuses[i]);
    figures.uncoded = totals.uncoded;
    figures.notFound = highestFirst(totals.notFound);
    figures.serverErrors = highestFirst(totals.serverErrors);
    return figures;
}

} // namespace statvane
