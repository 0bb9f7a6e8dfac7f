#include "output/recipients.h"

namespace statvane {
namespace {

std::string trimmed(std::string_view text) {
    const auto isSpace = [](char c) { return static_cast<unsigned char>(c) < 33; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

} // namespace

std::vector<std::string> splitRecipients(std::string_view addresses) {
    std::vector<std::string> recipients;
    for (auto separator = addresses.find(';'); separator != std::string_view::npos;
         separator = addresses.find(';')) {
        recipients.push_back(trimmed(addresses.substr(0, separator)));
        addresses.remove_prefix(separator + 1);
    }
    recipients.push_back(trimmed(addresses));
    return recipients;
}

std::string recipientsHeader(const std::vector<std::string>& recipients) {
    std::string header;
    for (const std::string& recipient : recipients) {
        if (recipient.empty())
            continue;
        if (!header.empty())
            header += ", ";
        header += recipient;
    }
    return header;
}

} // namespace statvane
