#include "analysis/decompressor.h"

#include <cstdint>
#include <lzma.h>

namespace statvane {
namespace {

class XzDecompressor : public Decompressor {
  public:
    XzDecompressor() = default;
    ~XzDecompressor() override { ::lzma_end(&stream_); }
    XzDecompressor(const XzDecompressor&) = delete;
    XzDecompressor& operator=(const XzDecompressor&) = delete;

    // No memory limit: the log is the user's own, as with gzip and bzip2.
    void startStream() override { status_ = ::lzma_stream_decoder(&stream_, UINT64_MAX, 0); }

    Step step(std::span<const char>& input, std::span<char>& room) override {
        if (status_ != LZMA_OK)
            return Step::Damaged;
        stream_.next_in = reinterpret_cast<const std::uint8_t*>(input.data());
        stream_.avail_in = input.size();
        stream_.next_out = reinterpret_cast<std::uint8_t*>(room.data());
        stream_.avail_out = room.size();
        const lzma_ret status = ::lzma_code(&stream_, LZMA_RUN);
        input = input.last(stream_.avail_in);
        room = room.last(stream_.avail_out);
        if (status == LZMA_STREAM_END)
            return Step::StreamEnd;
        // LZMA_BUF_ERROR only says that no progress could be made this time.
        if (status == LZMA_OK || status == LZMA_BUF_ERROR)
            return Step::Going;
        status_ = status;
        return Step::Damaged;
    }

    const char* formatName() const override { return "xz"; }

    std::string damage() const override {
        switch (status_) {
        case LZMA_MEM_ERROR:
            return "out of memory";
        case LZMA_FORMAT_ERROR:
            return "not xz data";
        case LZMA_OPTIONS_ERROR:
            return "unsupported options";
        default:
            return "corrupt data";
        }
    }

    // Stream padding: zero bytes between and after the streams of a file.
    bool skipsZerosAfterStream() const override { return true; }

  private:
    lzma_stream stream_ = LZMA_STREAM_INIT;
    lzma_ret status_ = LZMA_OK;
};

} // namespace

std::unique_ptr<Decompressor> makeXzDecompressor() {
    return std::make_unique<XzDecompressor>();
}

} // namespace statvane
