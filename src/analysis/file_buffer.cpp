#include "analysis/file_buffer.h"

#include <cstring>
#include <new>
#include <sys/mman.h>
#include <utility>

namespace statvane {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

} // namespace

FileBuffer::FileBuffer(std::size_t capacity) : capacity_(capacity) {
    if (capacity >= kHugePage) {
        const std::size_t rounded = (capacity + kHugePage - 1) / kHugePage * kHugePage;
        void* block =
            ::mmap(nullptr, rounded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block != MAP_FAILED) {
            ::madvise(block, rounded, MADV_HUGEPAGE);
            data_ = static_cast<char*>(block);
            mappedBytes_ = rounded;
            return;
        }
    }
    data_ = new char[capacity > 0 ? capacity : 1];
}

FileBuffer::~FileBuffer() {
    release();
}

FileBuffer::FileBuffer(FileBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), capacity_(std::exchange(other.capacity_, 0)),
      mappedBytes_(std::exchange(other.mappedBytes_, 0)) {}

FileBuffer& FileBuffer::operator=(FileBuffer&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        capacity_ = std::exchange(other.capacity_, 0);
        mappedBytes_ = std::exchange(other.mappedBytes_, 0);
    }
    return *this;
}

void FileBuffer::grow(std::size_t used) {
    FileBuffer larger(capacity_ * 2);
    std::memcpy(larger.data_, data_, used);
    *this = std::move(larger);
}

void FileBuffer::release() {
    if (mappedBytes_ > 0)
        ::munmap(data_, mappedBytes_);
    else
        delete[] data_;
    data_ = nullptr;
    capacity_ = mappedBytes_ = 0;
}

} // namespace statvane
