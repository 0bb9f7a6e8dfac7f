#include "net/smtp/reply_line_buffer.h"

namespace statvane {

void ReplyLineBuffer::append(std::string_view bytes) {
    pending_.append(bytes.substr(0, room()));
}

std::optional<std::string> ReplyLineBuffer::takeLine() {
    while (true) {
        const std::size_t end = pending_.find("\r\n");
        if (end == std::string::npos) {
            if (skippingRestOfLine_) {
                dropSkippedBytes();
                return std::nullopt;
            }
            return takeOverlongLine();
        }
        std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 2);
        if (!skippingRestOfLine_)
            return line;
        skippingRestOfLine_ = false;
    }
}

void ReplyLineBuffer::clear() {
    pending_.clear();
    skippingRestOfLine_ = false;
}

std::optional<std::string> ReplyLineBuffer::takeOverlongLine() {
    if (pending_.size() < capacity)
        return std::nullopt;
    std::string line = pending_.substr(0, maxLineLength);
    pending_.erase(0, maxLineLength);
    skippingRestOfLine_ = true;
    dropSkippedBytes();
    return line;
}

// Keeps only a final CR, which may begin the CR LF that ends the skipped line.
void ReplyLineBuffer::dropSkippedBytes() {
    const bool endsWithReturn = !pending_.empty() && pending_.back() == '\r';
    pending_.assign(endsWithReturn ? "\r" : "");
}

} // namespace statvane
