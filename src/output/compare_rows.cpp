#include "output/compare_rows.h"

#include <string_view>

namespace statvane {

int compareRows(std::int32_t sortIndex, const TallyRow& a, const TallyRow& b) {
    if (sortIndex < 0)
        return 0;
    if (sortIndex == 0) {
        // char_traits<char> orders bytes unsigned.
        const int order = a.key().compare(b.key());
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    if (a.count == b.count)
        return 0;
    return a.count > b.count ? -1 : 1;
}

void sortRows(TallyTable& table, std::int32_t sortIndex) {
    table.stableSort([sortIndex](const TallyRow& a, const TallyRow& b) {
        return compareRows(sortIndex, a, b) < 0;
    });
}

} // namespace statvane
