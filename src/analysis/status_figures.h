#pragma once

#include "analysis/pass_totals.h"
#include "analysis/tally_table.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace statvane {

// The row of the lines without a status code, last in the table of codes.
inline constexpr const char* kNoCodeRow = "(none)";

// How the requests of a pass were answered.
struct StatusFigures {
    // The codes met and their hits, in numeric order.
    std::vector<std::pair<int, std::int64_t>> codes;
    // Lines without a status code.
    std::int64_t uncoded = 0;
    // Full addresses answered 404 and 5xx, highest count first, ties in the
    // order first met.
    TallyTable notFound;
    TallyTable serverErrors;

    // Every line: those with a code and those without.
    std::int64_t hits() const;
};

StatusFigures statusFigures(const PassTotals& totals);

} // namespace statvane
