#include "analysis/tally_table.h"

#include "analysis/figure_text.h"
#include "platform/ascii.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace statvane {
namespace {

constexpr std::size_t kFirstSlotCount = 16;

// At most three quarters of the slots are used.
bool overLoaded(std::size_t rows, std::size_t slots) {
    return rows * 4 > slots * 3;
}

// A used slot holds its key's hash beside its row number plus one, so that a
// lookup passes over other keys without reading them.
std::uint64_t slotOf(std::size_t row, std::uint32_t hash) {
    return std::uint64_t{hash} << 32 | (row + 1);
}

std::uint32_t hashIn(std::uint64_t slot) {
    return static_cast<std::uint32_t>(slot >> 32);
}

std::size_t rowIn(std::uint64_t slot) {
    return static_cast<std::size_t>(static_cast<std::uint32_t>(slot)) - 1;
}

} // namespace

TallyTable::TallyTable() = default;
TallyTable::~TallyTable() = default;

// A moved-from table is empty.
TallyTable::TallyTable(TallyTable&& other) noexcept
    : keys_(std::move(other.keys_)), rows_(std::move(other.rows_)), slots_(std::move(other.slots_)),
      indexed_(std::exchange(other.indexed_, true)), total_(std::exchange(other.total_, 0)) {}

TallyTable& TallyTable::operator=(TallyTable&& other) noexcept {
    keys_ = std::move(other.keys_);
    rows_ = std::move(other.rows_);
    slots_ = std::move(other.slots_);
    indexed_ = std::exchange(other.indexed_, true);
    total_ = std::exchange(other.total_, 0);
    return *this;
}

TallyTable::TallyTable(const TallyTable& other)
    : slots_(other.slots_), indexed_(other.indexed_), total_(other.total_) {
    rows_.reserve(other.rows_.size());
    for (std::size_t row = 0; row < other.size(); ++row)
        rows_.push_back(
            {keys_.store(other.rows_[row].key(), other.hashAt(row)), other.rows_[row].count});
}

TallyTable& TallyTable::operator=(const TallyTable& other) {
    if (this != &other)
        *this = TallyTable(other);
    return *this;
}

std::uint32_t TallyTable::hashOf(std::string_view key) {
    return static_cast<std::uint32_t>(ascii::caseInsensitiveHash(key));
}

std::optional<std::size_t> TallyTable::find(std::string_view key) const {
    return find(key, hashOf(key));
}

std::optional<std::size_t> TallyTable::find(std::string_view key, std::uint32_t hash) const {
    if (!indexed_)
        rebuildIndex(std::max(kFirstSlotCount, std::bit_ceil(rows_.size() * 4 / 3 + 1)));
    if (slots_.empty())
        return std::nullopt;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
        if (hashIn(slots_[slot]) != hash)
            continue;
        const std::size_t row = rowIn(slots_[slot]);
        if (ascii::CaseInsensitiveEqual{}(rows_[row].key(), key))
            return row;
    }
    return std::nullopt;
}

std::size_t TallyTable::append(std::string_view key, std::int32_t count) {
    return append(key, hashOf(key), count);
}

std::size_t TallyTable::append(std::string_view key, std::uint32_t hash, std::int32_t count) {
    rows_.push_back({keys_.store(key, hash), count});
    if (indexed_) {
        if (overLoaded(rows_.size(), slots_.size()))
            growIndex();
        place(rows_.size() - 1, hash);
    }
    return rows_.size() - 1;
}

void TallyTable::tally(std::string_view key, std::int32_t count) {
    tally(key, hashOf(key), count);
}

void TallyTable::tally(std::string_view key, std::uint32_t hash, std::int32_t count) {
    if (const auto row = find(key, hash))
        increment(*row, count);
    else
        append(key, hash, count);
}

void TallyTable::clear() {
    rows_.clear();
    keys_.clear();
    std::ranges::fill(slots_, 0);
    indexed_ = true;
    total_ = 0;
}

void TallyTable::removeIf(const std::function<bool(const TallyRow&)>& remove) {
    std::erase_if(rows_, remove);
    releaseIndex();
}

void TallyTable::stableSort(const std::function<bool(const TallyRow&, const TallyRow&)>& less) {
    std::stable_sort(rows_.begin(), rows_.end(), less);
    releaseIndex();
}

void TallyTable::computePercentages() {
    total_ = 0;
    for (const auto& row : rows_)
        total_ += row.count;
}

std::string TallyTable::percent(std::size_t row) const {
    return percentText(rows_[row].count, total_);
}

void TallyTable::releaseIndex() {
    slots_ = {};
    indexed_ = false;
}

void TallyTable::rebuildIndex(std::size_t slotCount) const {
    slots_.assign(slotCount, 0);
    for (std::size_t row = 0; row < rows_.size(); ++row)
        place(row, hashAt(row));
    indexed_ = true;
}

// Twice the slots, filled from the old ones, which hold every row's hash: no
// key is read.
void TallyTable::growIndex() {
    std::vector<std::uint64_t> old(std::max(kFirstSlotCount, slots_.size() * 2), 0);
    old.swap(slots_);
    for (const std::uint64_t slot : old)
        if (slot != 0)
            place(rowIn(slot), hashIn(slot));
}

void TallyTable::place(std::size_t row, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    while (slots_[slot] != 0)
        slot = (slot + 1) & mask;
    slots_[slot] = slotOf(row, hash);
}

} // namespace statvane
