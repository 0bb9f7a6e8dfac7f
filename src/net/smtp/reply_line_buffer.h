#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace statvane {

// The receive buffer of the mail client: collects bytes and hands out the
// lines ended by CR LF. It never holds more than `capacity` bytes. A line that
// does not fit is cut to its first `maxLineLength` bytes, which are handed out
// as the line; the rest of it, up to its CR LF, is dropped.
class ReplyLineBuffer {
  public:
    static constexpr std::size_t capacity = 4096;
    static constexpr std::size_t maxLineLength = capacity - 1;

    // How many bytes append() takes now.
    std::size_t room() const { return capacity - pending_.size(); }
    // Takes at most room() bytes.
    void append(std::string_view bytes);
    std::optional<std::string> takeLine();
    void clear();

  private:
    std::optional<std::string> takeOverlongLine();
    void dropSkippedBytes();

    std::string pending_;
    bool skippingRestOfLine_ = false;
};

} // namespace statvane
