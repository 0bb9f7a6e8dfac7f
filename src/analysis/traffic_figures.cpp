#include "analysis/traffic_figures.h"

namespace statvane {

std::string hourText(std::size_t hour) {
    return {static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10)};
}

std::int64_t TrafficFigures::hits() const {
    std::int64_t total = undated;
    for (const auto count : hours)
        total += count;
    return total;
}

TrafficFigures trafficFigures(const PassTotals& totals) {
    TrafficFigures figures{
        {}, totals.hours, totals.undated, static_cast<std::int64_t>(totals.undatedVisitors.size())};
    if (totals.days.empty())
        return figures;
    const std::int32_t first = totals.days.begin()->first;
    const std::int32_t last = totals.days.rbegin()->first;
    figures.days.reserve(static_cast<std::size_t>(last - first) + 1);
    for (std::int32_t day = first; day <= last; ++day) {
        const auto found = totals.days.find(day);
        if (found == totals.days.end())
            figures.days.push_back({dayTextOf(day), 0, 0});
        else
            figures.days.push_back({dayTextOf(day), found->second.hits,
                                    static_cast<std::int64_t>(found->second.visitors.size())});
    }
    return figures;
}

} // namespace statvane
