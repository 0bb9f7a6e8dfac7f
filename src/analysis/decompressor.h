#pragma once

#include <memory>
#include <span>
#include <string>

namespace statvane {

// One kind of compressed data, decompressed a chunk at a time.
class Decompressor {
  public:
    enum class Step {
        Going,     // wants more input or more room
        StreamEnd, // a whole stream (a gzip member, a zstd frame) has come out
        Damaged,
    };

    virtual ~Decompressor() = default;

    // Readies the decompressor for a stream: the first, or one that follows
    // the end of the last.
    virtual void startStream() = 0;

    // Decompresses from the front of `input` into the front of `room`, and
    // drops from both what it used.
    virtual Step step(std::span<const char>& input, std::span<char>& room) = 0;

    // The format's name, as in "gzip data cut short".
    virtual const char* formatName() const = 0;

    // Why the data is damaged, after step said so.
    virtual std::string damage() const = 0;

    // Whether zero bytes after a stream are padding to pass over, as tape
    // blocks leave them behind a gzip file.
    virtual bool skipsZerosAfterStream() const { return false; }
};

std::unique_ptr<Decompressor> makeGzipDecompressor();
std::unique_ptr<Decompressor> makeBzip2Decompressor();
std::unique_ptr<Decompressor> makeXzDecompressor();
std::unique_ptr<Decompressor> makeZstdDecompressor();

// The decompressor for an open file's data, recognised by its first bytes
// (never by its name), or nothing for a plain file.
std::unique_ptr<Decompressor> decompressorFor(int fd);

} // namespace statvane
