#pragma once

#include "analysis/log_time.h"
#include "analysis/pass_totals.h"

#include <string>

namespace statvane::test {

inline std::string rowsText(const TallyTable& table) {
    std::string text;
    for (const auto& row : table.rows())
        text += std::string(row.key()) + "=" + std::to_string(row.count) + "\n";
    return text;
}

// All that a log pass found, as text, so that a difference shows where it is.
inline std::string totalsText(const PassTotals& totals) {
    std::string text = "lines " + std::to_string(totals.lines) + ", dates " + totals.firstDate +
                       " to " + totals.lastDate + "\n";
    for (const auto& file : totals.files)
        text +=
            "file " + std::to_string(file.lines) + "/" + std::to_string(file.outsideLayout) + "\n";
    text += "visitors\n" + rowsText(totals.visitors) + "referrers\n" + rowsText(totals.referrers) +
            "pages\n" + rowsText(totals.pages) + "browsers\n" + rowsText(totals.browsers) +
            "days\n";
    for (const auto& [number, day] : totals.days)
        text += dayTextOf(number) + "=" + std::to_string(day.hits) + "\n" + rowsText(day.visitors);
    text += "hours";
    for (const auto hits : totals.hours) {
        text += ' ';
        text += std::to_string(hits);
    }
    text += ", undated " + std::to_string(totals.undated) + "\n" +
            rowsText(totals.undatedVisitors) + "statuses";
    // Appended piece by piece: GCC 12 takes " " + string for overlapping
    // copies at -O3.
    for (std::size_t i = 0; i < totals.statuses.size(); ++i) {
        if (totals.statuses[i] > 0) {
            text += ' ';
            text += std::to_string(kLowestStatus + static_cast<int>(i));
            text += '=';
            text += std::to_string(totals.statuses[i]);
        }
    }
    return text + ", uncoded " + std::to_string(totals.uncoded) + "\nnot found\n" +
           rowsText(totals.notFound) + "server errors\n" + rowsText(totals.serverErrors);
}

} // namespace statvane::test
