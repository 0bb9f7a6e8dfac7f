#include "net/smtp/base64_file_reader.h"

#include "net/base64.h"

namespace statvane {

bool Base64FileReader::open(const std::string& path) {
    close();
    failed_ = false;
    file_.open(path, std::ios::binary);
    return file_.is_open();
}

std::optional<std::string> Base64FileReader::nextLine() {
    if (!file_.is_open())
        return std::nullopt;
    char bytes[bytesPerLine];
    file_.read(bytes, bytesPerLine);
    const auto count = static_cast<std::size_t>(file_.gcount());
    if (file_.bad()) {
        failed_ = true;
        close();
        return std::nullopt;
    }
    if (count == 0 && anyLine_) {
        close();
        return std::nullopt;
    }
    anyLine_ = true;
    return base64Encode(std::string_view(bytes, count));
}

void Base64FileReader::close() {
    if (file_.is_open())
        file_.close();
    file_.clear();
    anyLine_ = false;
}

} // namespace statvane
