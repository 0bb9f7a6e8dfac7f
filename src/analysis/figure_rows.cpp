#include "analysis/figure_rows.h"

#include "analysis/figure_text.h"

#include <string>

namespace statvane {
namespace {

// A key with its count and the count's share of a total.
FigureRow shareRow(std::string key, std::int64_t count, std::int64_t total, bool last = false) {
    return {
        std::move(key), {std::to_string(count), percentText(count, total)}, {count, count}, last};
}

} // namespace

std::vector<FigureRow> dayRows(const TrafficFigures& traffic) {
    std::vector<FigureRow> rows;
    const auto add = [&](std::string key, std::int64_t hits, std::int64_t visitors, bool last) {
        rows.push_back({std::move(key),
                        {std::to_string(hits), std::to_string(visitors)},
                        {hits, visitors},
                        last});
    };
    for (const DayFigures& day : traffic.days)
        add(day.day, day.hits, day.visitors, false);
    if (traffic.undated > 0)
        add(kNoDateRow, traffic.undated, traffic.undatedVisitors, true);
    return rows;
}

std::vector<FigureRow> hourRows(const TrafficFigures& traffic) {
    const std::int64_t hits = traffic.hits();
    std::vector<FigureRow> rows;
    for (std::size_t hour = 0; hour < traffic.hours.size(); ++hour)
        rows.push_back(shareRow(hourText(hour), traffic.hours[hour], hits));
    if (traffic.undated > 0)
        rows.push_back(shareRow(kNoDateRow, traffic.undated, hits, true));
    return rows;
}

std::vector<FigureRow> codeRows(const StatusFigures& status) {
    const std::int64_t hits = status.hits();
    std::vector<FigureRow> rows;
    for (const auto& [code, count] : status.codes)
        rows.push_back(shareRow(std::to_string(code), count, hits));
    if (status.uncoded > 0)
        rows.push_back(shareRow(kNoCodeRow, status.uncoded, hits, true));
    return rows;
}

std::vector<FigureRow> addressRows(const TallyTable& table) {
    std::vector<FigureRow> rows;
    rows.reserve(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TallyRow& row = table.rows()[i];
        rows.push_back({std::string(row.key()),
                        {std::to_string(row.count), table.percent(i)},
                        {row.count, row.count}});
    }
    return rows;
}

} // namespace statvane
