#include "analysis/decompressor.h"

#include <zlib.h>

namespace statvane {
namespace {

class GzipDecompressor : public Decompressor {
  public:
    GzipDecompressor() = default;
    ~GzipDecompressor() override {
        if (started_)
            ::inflateEnd(&stream_);
    }
    GzipDecompressor(const GzipDecompressor&) = delete;
    GzipDecompressor& operator=(const GzipDecompressor&) = delete;

    // 15 + 32: the largest window, and a gzip header recognised and checked.
    void startStream() override {
        status_ = started_ ? ::inflateReset(&stream_) : ::inflateInit2(&stream_, 15 + 32);
        started_ = started_ || status_ == Z_OK;
    }

    Step step(std::span<const char>& input, std::span<char>& room) override {
        if (status_ != Z_OK)
            return Step::Damaged;
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
        stream_.avail_in = static_cast<uInt>(input.size());
        stream_.next_out = reinterpret_cast<Bytef*>(room.data());
        stream_.avail_out = static_cast<uInt>(room.size());
        const int status = ::inflate(&stream_, Z_NO_FLUSH);
        input = input.last(stream_.avail_in);
        room = room.last(stream_.avail_out);
        if (status == Z_STREAM_END)
            return Step::StreamEnd;
        // Z_BUF_ERROR only says that no progress could be made this time.
        if (status == Z_OK || status == Z_BUF_ERROR)
            return Step::Going;
        status_ = status;
        return Step::Damaged;
    }

    const char* formatName() const override { return "gzip"; }

    bool skipsZerosAfterStream() const override { return true; }

    std::string damage() const override {
        if (status_ == Z_MEM_ERROR)
            return "out of memory";
        return stream_.msg ? stream_.msg : "unusable data";
    }

  private:
    z_stream stream_{};
    bool started_ = false;
    int status_ = Z_OK;
};

} // namespace

std::unique_ptr<Decompressor> makeGzipDecompressor() {
    return std::make_unique<GzipDecompressor>();
}

} // namespace statvane
