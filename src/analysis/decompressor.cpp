#include "analysis/decompressor.h"

#include <string_view>
#include <unistd.h>

namespace statvane {

std::unique_ptr<Decompressor> decompressorFor(int fd) {
    char first[6] = {};
    const ssize_t got = ::pread(fd, first, sizeof first, 0);
    const std::string_view start(first, got > 0 ? static_cast<std::size_t>(got) : 0);
    if (start.starts_with("\x1f\x8b"))
        return makeGzipDecompressor();
    if (start == std::string_view("\xfd"
                                  "7zXZ\0",
                                  6))
        return makeXzDecompressor();
    if (start.starts_with("\x28\xb5\x2f\xfd"))
        return makeZstdDecompressor();
    // "BZh" and the block size, a digit from 1 to 9.
    if (start.size() >= 4 && start.starts_with("BZh") && start[3] >= '1' && start[3] <= '9')
        return makeBzip2Decompressor();
    return nullptr;
}

} // namespace statvane
