#include "analysis/tally_table.h"

#include <algorithm>

namespace statvane {

std::optional<std::size_t> TallyTable::find(std::string_view key) const {
    const auto found = index_.find(key);
    if (found == index_.end())
        return std::nullopt;
    return found->second;
}

std::size_t TallyTable::append(std::string_view key, std::int32_t count) {
    index_.emplace(std::string(key), rows_.size());
    rows_.push_back(TallyRow{std::string(key), count, {}});
    return rows_.size() - 1;
}

void TallyTable::tally(std::string_view key, std::int32_t count) {
    if (const auto row = find(key))
        increment(*row, count);
    else
        append(key, count);
}

void TallyTable::clear() {
    rows_.clear();
    index_.clear();
}

void TallyTable::removeIf(const std::function<bool(const TallyRow&)>& remove) {
    std::erase_if(rows_, remove);
    reindex();
}

void TallyTable::stableSort(const std::function<bool(const TallyRow&, const TallyRow&)>& less) {
    std::stable_sort(rows_.begin(), rows_.end(), less);
    reindex();
}

void TallyTable::reindex() {
    index_.clear();
    for (std::size_t i = 0; i < rows_.size(); ++i)
        index_.emplace(rows_[i].key, i);
}

} // namespace statvane
