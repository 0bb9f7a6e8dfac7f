#include "analysis/key_arena.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace statvane {
namespace {

constexpr std::size_t kFirstChunk = 64 * 1024;
constexpr std::size_t kLargestChunk = 4 * 1024 * 1024;
constexpr std::size_t kLongKey = kFirstChunk / 4;

} // namespace

KeyArena::KeyArena(KeyArena&& other) noexcept
    : chunks_(std::move(other.chunks_)), longKeys_(std::move(other.longKeys_)),
      current_(std::exchange(other.current_, 0)), used_(std::exchange(other.used_, 0)) {}

KeyArena& KeyArena::operator=(KeyArena&& other) noexcept {
    chunks_ = std::move(other.chunks_);
    longKeys_ = std::move(other.longKeys_);
    current_ = std::exchange(other.current_, 0);
    used_ = std::exchange(other.used_, 0);
    return *this;
}

std::string_view KeyArena::store(std::string_view key, std::uint32_t hash) {
    char* place = reserve(sizeof hash + key.size());
    std::memcpy(place, &hash, sizeof hash);
    if (!key.empty())
        std::memcpy(place + sizeof hash, key.data(), key.size());
    return {place + sizeof hash, key.size()};
}

std::uint32_t KeyArena::hashOf(std::string_view stored) {
    std::uint32_t hash;
    std::memcpy(&hash, stored.data() - sizeof hash, sizeof hash);
    return hash;
}

void KeyArena::clear() {
    current_ = 0;
    used_ = 0;
    longKeys_.clear();
}

// Chunks double from 64 KiB to 4 MiB. A key of more than 16 KiB gets a block
// of its own, so no chunk is left with more than that unused at its end.
char* KeyArena::reserve(std::size_t bytes) {
    if (bytes > kLongKey)
        return longKeys_.emplace_back(std::make_unique_for_overwrite<char[]>(bytes)).get();
    while (current_ < chunks_.size() && chunks_[current_].size - used_ < bytes) {
        ++current_;
        used_ = 0;
    }
    if (current_ == chunks_.size()) {
        const std::size_t size =
            chunks_.empty() ? kFirstChunk : std::min(chunks_.back().size * 2, kLargestChunk);
        chunks_.push_back({std::make_unique_for_overwrite<char[]>(size), size});
    }
    char* place = chunks_[current_].bytes.get() + used_;
    used_ += bytes;
    return place;
}

} // namespace statvane
