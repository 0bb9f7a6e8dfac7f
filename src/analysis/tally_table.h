#pragma once

#include "analysis/key_arena.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// A counted key: 16 bytes, as tables of millions of rows hold one each.
class TallyRow {
  public:
    TallyRow(std::string_view key, std::int32_t count)
        : keyData_(key.data()), keyLength_(static_cast<std::uint32_t>(key.size())), count(count) {}

    // Lives in the table that holds the row.
    std::string_view key() const { return {keyData_, keyLength_}; }

    bool operator==(const TallyRow& other) const {
        return key() == other.key() && count == other.count;
    }

  private:
    const char* keyData_;
    std::uint32_t keyLength_;

  public:
    std::int32_t count = 1;
};

// Counted keys in the order each was first met. Keys are unique ignoring
// letter case; the first spelling met is kept. Each key is stored once, in
// the table's arena beside its case-folded hash; the hash index holds row
// numbers and hashes. Sorting and removing drop the index, and the next lookup
// rebuilds it from the stored hashes. A const lookup may rebuild the index,
// so a table is read by one thread at a time.
class TallyTable {
  public:
    TallyTable();
    ~TallyTable();
    TallyTable(const TallyTable& other); // the copy's keys live in the copy
    TallyTable& operator=(const TallyTable& other);
    TallyTable(TallyTable&&) noexcept; // keys stay where they are; views stay valid
    TallyTable& operator=(TallyTable&&) noexcept;

    const std::vector<TallyRow>& rows() const { return rows_; }
    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }

    // Lookups ignore letter case.
    std::optional<std::size_t> find(std::string_view key) const;
    void increment(std::size_t row, std::int32_t by = 1) { rows_[row].count += by; }
    // Copies the key into the table; returns the new row.
    std::size_t append(std::string_view key, std::int32_t count = 1);
    // Raises the count of the row equal to key ignoring case, or appends
    // a new row (key, count).
    void tally(std::string_view key, std::int32_t count = 1);

    // The same calls with the key's hash known, so that merging one table
    // into another hashes no key twice.
    static std::uint32_t hashOf(std::string_view key);
    std::uint32_t hashAt(std::size_t row) const { return KeyArena::hashOf(rows_[row].key()); }
    std::optional<std::size_t> find(std::string_view key, std::uint32_t hash) const;
    void tally(std::string_view key, std::uint32_t hash, std::int32_t count);
    // For a key that find() did not find.
    std::size_t append(std::string_view key, std::uint32_t hash, std::int32_t count);

    // Empties the table, keeping its memory for the next rows.
    void clear();
    // Keys of removed rows stay in the arena until clear().
    void removeIf(const std::function<bool(const TallyRow&)>& remove);
    void stableSort(const std::function<bool(const TallyRow&, const TallyRow&)>& less);

    // Frees the index, which the next lookup builds anew: for a table that is
    // done counting.
    void releaseIndex();

    // Remembers the total of the counts; from then on percent(row) is the
    // row's share of it, whatever order the rows are in. Rows counted later
    // keep that total until clear() forgets it.
    void computePercentages();
    // The same against a total of the caller's: each row's share of it.
    void computePercentagesOf(std::int64_t total) { total_ = total; }
    // "" before computePercentages() and when the total is 0.
    std::string percent(std::size_t row) const;

  private:
    void rebuildIndex(std::size_t slotCount) const;
    void growIndex();
    void place(std::size_t row, std::uint32_t hash) const;

    KeyArena keys_;
    std::vector<TallyRow> rows_;
    // Open addressing, linear probing: the key's hash and row + 1 in each
    // used slot, 0 in a free one; a power-of-two count of slots, or none
    // while the index is dropped.
    mutable std::vector<std::uint64_t> slots_;
    mutable bool indexed_ = true;
    std::int64_t total_ = 0;
};

} // namespace statvane
