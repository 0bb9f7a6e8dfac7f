#include "analysis/decompressor.h"

#include <new>
#include <zstd.h>

namespace statvane {
namespace {

class ZstdDecompressor : public Decompressor {
  public:
    ZstdDecompressor() : context_(::ZSTD_createDCtx()) {
        if (!context_)
            throw std::bad_alloc();
    }
    ~ZstdDecompressor() override { ::ZSTD_freeDCtx(context_); }
    ZstdDecompressor(const ZstdDecompressor&) = delete;
    ZstdDecompressor& operator=(const ZstdDecompressor&) = delete;

    // Each frame is a stream of its own.
    void startStream() override { result_ = ::ZSTD_DCtx_reset(context_, ZSTD_reset_session_only); }

    Step step(std::span<const char>& input, std::span<char>& room) override {
        if (::ZSTD_isError(result_))
            return Step::Damaged;
        ZSTD_inBuffer in{input.data(), input.size(), 0};
        ZSTD_outBuffer out{room.data(), room.size(), 0};
        result_ = ::ZSTD_decompressStream(context_, &out, &in);
        input = input.subspan(in.pos);
        room = room.subspan(out.pos);
        if (::ZSTD_isError(result_))
            return Step::Damaged;
        // 0: the frame is decoded and all of it given out.
        return result_ == 0 ? Step::StreamEnd : Step::Going;
    }

    const char* formatName() const override { return "zstd"; }

    std::string damage() const override { return ::ZSTD_getErrorName(result_); }

  private:
    ZSTD_DCtx* context_;
    std::size_t result_ = 0;
};

} // namespace

std::unique_ptr<Decompressor> makeZstdDecompressor() {
    return std::make_unique<ZstdDecompressor>();
}

} // namespace statvane
