#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace statvane {

// Cuts the received bytes of one header into lines at each line feed,
// dropping a carriage return before it. The header is bounded line by line
// and as a whole: a line longer than maxLineLength, or a header of more than
// maxHeaderLines lines or maxHeaderBytes bytes (line ends included), whether
// complete or still arriving, fails the reader. The empty line that ends a
// header is not one of its lines.
class HttpLineReader {
  public:
    static constexpr std::size_t maxLineLength = 8192;
    static constexpr std::size_t maxHeaderLines = 100;
    static constexpr std::size_t maxHeaderBytes = 64 * 1024;

    enum class Failure { None, LineTooLong, HeaderTooLong };

    void append(std::string_view bytes);
    // The next complete line, without its line end; none when no complete
    // line is buffered or the reader has failed.
    std::optional<std::string> nextLine();
    Failure failure() const { return failure_; }

  private:
    std::optional<std::string> fail(Failure failure);

    std::string buffer_;
    std::size_t start_ = 0;
    std::size_t headerBytes_ = 0;
    std::size_t headerLines_ = 0;
    Failure failure_ = Failure::None;
};

} // namespace statvane
