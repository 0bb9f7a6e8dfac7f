#pragma once

#include "analysis/tally_table.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace statvane::test {

// A table's rows as keys and counts, in the table's order, to compare whole.
using Rows = std::vector<std::pair<std::string, std::int32_t>>;

inline Rows rowsOf(const TallyTable& table) {
    Rows rows;
    for (const auto& row : table.rows())
        rows.emplace_back(row.key(), row.count);
    return rows;
}

} // namespace statvane::test
