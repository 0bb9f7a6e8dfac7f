#pragma once

#include <bzlib.h>
#include <cstdint>
#include <gtest/gtest.h>
#include <lzma.h>
#include <string>
#include <string_view>
#include <zlib.h>
#include <zstd.h>

// The bytes of each compressed format that logs come in, made in memory.
namespace statvane::test {

inline std::string gzipped(std::string_view bytes) {
    z_stream stream{};
    EXPECT_EQ(::deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(::deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(::deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    ::deflateEnd(&stream);
    return out;
}

inline std::string bzipped(std::string_view bytes) {
    auto size = static_cast<unsigned>(bytes.size() + bytes.size() / 100 + 600);
    std::string out(size, '\0');
    EXPECT_EQ(::BZ2_bzBuffToBuffCompress(out.data(), &size, const_cast<char*>(bytes.data()),
                                         static_cast<unsigned>(bytes.size()), 9, 0, 0),
              BZ_OK);
    out.resize(size);
    return out;
}

inline std::string xzed(std::string_view bytes) {
    std::string out(::lzma_stream_buffer_bound(bytes.size()), '\0');
    std::size_t size = 0;
    EXPECT_EQ(::lzma_easy_buffer_encode(
                  6, LZMA_CHECK_CRC64, nullptr, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                  bytes.size(), reinterpret_cast<std::uint8_t*>(out.data()), &size, out.size()),
              LZMA_OK);
    out.resize(size);
    return out;
}

inline std::string zstded(std::string_view bytes) {
    std::string out(::ZSTD_compressBound(bytes.size()), '\0');
    const std::size_t size = ::ZSTD_compress(out.data(), out.size(), bytes.data(), bytes.size(), 3);
    EXPECT_FALSE(::ZSTD_isError(size));
    out.resize(size);
    return out;
}

} // namespace statvane::test
