#include "analysis/decompressor.h"

#include <string_view>
#include <unistd.h>

namespace statvane {
namespace {

using std::string_view_literals::operator""sv;

constexpr std::string_view kXzMagic = "\xfd\x37zXZ\0"sv; // \x37 is "7"
constexpr std::string_view kZstdMagic = "\x28\xb5\x2f\xfd"sv;

} // namespace

std::unique_ptr<Decompressor> decompressorFor(int fd) {
    char first[6] = {};
    const ssize_t got = ::pread(fd, first, sizeof first, 0);
    const std::string_view start(first, got > 0 ? static_cast<std::size_t>(got) : 0);
    if (start.starts_with("\x1f\x8b"))
        return makeGzipDecompressor();
    if (start.starts_with(kXzMagic))
        return makeXzDecompressor();
    if (start.starts_with(kZstdMagic))
        return makeZstdDecompressor();
    // "BZh" and the block size, a digit from 1 to 9.
    if (start.size() >= 4 && start.starts_with("BZh") && start[3] >= '1' && start[3] <= '9')
        return makeBzip2Decompressor();
    return nullptr;
}

} // namespace statvane
