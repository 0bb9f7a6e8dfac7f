#include "analysis/decompressor.h"

#include <bzlib.h>

namespace statvane {
namespace {

class Bzip2Decompressor : public Decompressor {
  public:
    Bzip2Decompressor() = default;
    ~Bzip2Decompressor() override { end(); }
    Bzip2Decompressor(const Bzip2Decompressor&) = delete;
    Bzip2Decompressor& operator=(const Bzip2Decompressor&) = delete;

    // libbz2 has no reset: each stream gets a fresh state.
    void startStream() override {
        end();
        status_ = ::BZ2_bzDecompressInit(&stream_, 0, 0);
        started_ = status_ == BZ_OK;
    }

    Step step(std::span<const char>& input, std::span<char>& room) override {
        if (status_ != BZ_OK)
            return Step::Damaged;
        stream_.next_in = const_cast<char*>(input.data());
        stream_.avail_in = static_cast<unsigned>(input.size());
        stream_.next_out = room.data();
        stream_.avail_out = static_cast<unsigned>(room.size());
        const int status = ::BZ2_bzDecompress(&stream_);
        input = input.last(stream_.avail_in);
        room = room.last(stream_.avail_out);
        if (status == BZ_STREAM_END)
            return Step::StreamEnd;
        if (status == BZ_OK)
            return Step::Going;
        status_ = status;
        return Step::Damaged;
    }

    const char* formatName() const override { return "bzip2"; }

    std::string damage() const override {
        switch (status_) {
        case BZ_MEM_ERROR:
            return "out of memory";
        case BZ_DATA_ERROR_MAGIC:
            return "not bzip2 data";
        default:
            return "data integrity error";
        }
    }

  private:
    void end() {
        if (started_)
            ::BZ2_bzDecompressEnd(&stream_);
        started_ = false;
        stream_ = {};
    }

    bz_stream stream_{};
    bool started_ = false;
    int status_ = BZ_OK;
};

} // namespace

std::unique_ptr<Decompressor> makeBzip2Decompressor() {
    return std::make_unique<Bzip2Decompressor>();
}

} // namespace statvane
