#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace statvane {

// Cuts received bytes into lines at each line feed, dropping a carriage
// return before it. A line longer than the limit, complete or still
// arriving, marks the reader as failed.
class HttpLineReader {
  public:
    static constexpr std::size_t maxLineLength = 8192;

    void append(std::string_view bytes);
    // The next complete line, without its line end; none when no complete
    // line is buffered or the reader has failed.
    std::optional<std::string> nextLine();
    bool lineTooLong() const { return lineTooLong_; }

  private:
    std::string buffer_;
    std::size_t start_ = 0;
    bool lineTooLong_ = false;
};

} // namespace statvane
