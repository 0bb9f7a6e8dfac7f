#include "net/http/http_line_reader.h"

namespace statvane {

void HttpLineReader::append(std::string_view bytes) {
    buffer_.erase(0, start_);
    start_ = 0;
    buffer_.append(bytes);
}

std::optional<std::string> HttpLineReader::nextLine() {
    if (failure_ != Failure::None)
        return std::nullopt;
    const std::size_t end = buffer_.find('\n', start_);
    const bool complete = end != std::string::npos;
    const std::size_t length = (complete ? end : buffer_.size()) - start_;
    // Room for the longest line and the carriage return that may end it.
    if (length > maxLineLength + 1)
        return fail(Failure::LineTooLong);
    if (headerBytes_ + length + (complete ? 1 : 0) > maxHeaderBytes)
        return fail(Failure::HeaderTooLong);
    if (!complete)
        return std::nullopt;
    std::string line = buffer_.substr(start_, length);
    start_ = end + 1;
    headerBytes_ += length + 1;
    if (line.ends_with('\r'))
        line.pop_back();
    if (line.size() > maxLineLength)
        return fail(Failure::LineTooLong);
    if (!line.empty() && ++headerLines_ > maxHeaderLines)
        return fail(Failure::HeaderTooLong);
    return line;
}

std::optional<std::string> HttpLineReader::fail(Failure failure) {
    failure_ = failure;
    return std::nullopt;
}

} // namespace statvane
