#include "net/http/http_line_reader.h"

namespace statvane {

void HttpLineReader::append(std::string_view bytes) {
    buffer_.erase(0, start_);
    start_ = 0;
    buffer_.append(bytes);
}

std::optional<std::string> HttpLineReader::nextLine() {
    if (lineTooLong_)
        return std::nullopt;
    const std::size_t end = buffer_.find('\n', start_);
    if (end == std::string::npos) {
        // Room for the longest line and the carriage return that may end it.
        lineTooLong_ = buffer_.size() - start_ > maxLineLength + 1;
        return std::nullopt;
    }
    std::string line = buffer_.substr(start_, end - start_);
    start_ = end + 1;
    if (line.ends_with('\r'))
        line.pop_back();
    if (line.size() > maxLineLength) {
        lineTooLong_ = true;
        return std::nullopt;
    }
    return line;
}

} // namespace statvane
