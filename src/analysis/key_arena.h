#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace statvane {

// Keys stored one after another in large chunks, each with its 32-bit hash
// just before its first byte. A stored key stays where it is until clear(),
// also when the arena is moved, so views of it stay valid; freeing an arena
// of millions of keys frees a handful of chunks.
class KeyArena {
  public:
    KeyArena() = default;
    // A moved-from arena is empty and can be filled again.
    KeyArena(KeyArena&& other) noexcept;
    KeyArena& operator=(KeyArena&& other) noexcept;

    std::string_view store(std::string_view key, std::uint32_t hash);
    // The hash stored with a key that store() returned.
    static std::uint32_t hashOf(std::string_view stored);

    // Forgets every key but keeps the chunks for the next keys; only the blocks
    // of single long keys are freed.
    void clear();

  private:
    struct Chunk {
        std::unique_ptr<char[]> bytes;
        std::size_t size;
    };

    char* reserve(std::size_t bytes);

    std::vector<Chunk> chunks_;
    std::vector<std::unique_ptr<char[]>> longKeys_;
    std::size_t current_ = 0; // the chunk being filled, when there is one
    std::size_t used_ = 0;    // bytes taken in that chunk
};

} // namespace statvane
