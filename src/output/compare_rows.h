#pragma once

#include "analysis/tally_table.h"

#include <cstdint>

namespace statvane {

// The order of two rows of a result table under the sort column "Index":
// 0 by key (unsigned bytes, case significant), any other positive value by
// count with the highest first, a negative value leaves rows equal.
// Negative when a comes first, positive when b does, 0 when equal.
int compareRows(std::int32_t sortIndex, const TallyRow& a, const TallyRow& b);

// Sorts the table by compareRows, keeping equal rows in their order.
void sortRows(TallyTable& table, std::int32_t sortIndex);

} // namespace statvane
