#pragma once

#include "platform/ascii.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace statvane {

struct TallyRow {
    std::string key;
    std::int32_t count = 1;
    std::string percent; // empty until computed

    bool operator==(const TallyRow&) const = default;
};

// Counted keys in the order each was first met. Keys are unique ignoring
// letter case; the first spelling met is kept. Lookups go through a hash
// index on the case-folded key, so counting costs the same whatever the size.
class TallyTable {
  public:
    const std::vector<TallyRow>& rows() const { return rows_; }
    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }

    std::optional<std::size_t> find(std::string_view key) const;
    void increment(std::size_t row, std::int32_t by = 1) { rows_[row].count += by; }
    std::size_t append(std::string_view key, std::int32_t count = 1);
    // Raises the count of the row equal to key ignoring case, or appends
    // a new row (key, count).
    void tally(std::string_view key, std::int32_t count = 1);
    static std::uint64_t hashOf(std::string_view key) { return ascii::CaseInsensitiveHash{}(key); }
    std::uint64_t hashAt(std::size_t row) const { return hashOf(rows_[row].key); }
    std::optional<std::size_t> find(std::string_view key, std::uint64_t) const { return find(key); }
    void tally(std::string_view key, std::uint64_t, std::int32_t count) { tally(key, count); }

    void clear();
    void removeIf(const std::function<bool(const TallyRow&)>& remove);
    void stableSort(const std::function<bool(const TallyRow&, const TallyRow&)>& less);
    void setPercent(std::size_t row, std::string text) { rows_[row].percent = std::move(text); }

  private:
    void reindex();

    std::vector<TallyRow> rows_;
    std::unordered_map<std::string, std::size_t, ascii::CaseInsensitiveHash,
                       ascii::CaseInsensitiveEqual>
        index_;
};

} // namespace statvane
