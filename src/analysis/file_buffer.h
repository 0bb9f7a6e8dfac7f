#pragma once

#include <cstddef>

namespace statvane {

// A block of uninitialised bytes that holds one log file. Large blocks come
// straight from the system in 2 MiB-aligned pieces with transparent huge pages
// asked for: touching hundreds of megabytes page by page costs several times
// more than reading them.
class FileBuffer {
  public:
    FileBuffer() = default;
    explicit FileBuffer(std::size_t capacity);
    ~FileBuffer();
    FileBuffer(FileBuffer&& other) noexcept;
    FileBuffer& operator=(FileBuffer&& other) noexcept;
    FileBuffer(const FileBuffer&) = delete;
    FileBuffer& operator=(const FileBuffer&) = delete;

    char* data() const { return data_; }
    std::size_t capacity() const { return capacity_; }

    // Doubles the capacity, keeping the first `used` bytes.
    void grow(std::size_t used);

  private:
    void release();

    char* data_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t mappedBytes_ = 0; // 0 when the block came from new[]
};

} // namespace statvane
