#pragma once

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
    return text + "visitors\n" + rowsText(totals.visitors) + "referrers\n" +
           rowsText(totals.referrers) + "pages\n" + rowsText(totals.pages) + "browsers\n" +
           rowsText(totals.browsers);
}

} // namespace statvane::test
