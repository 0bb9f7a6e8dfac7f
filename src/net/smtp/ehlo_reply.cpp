#include "net/smtp/ehlo_reply.h"

#include "platform/ascii.h"

#include <string_view>

namespace statvane {
namespace {

// The words of the text, split at spaces.
std::vector<std::string_view> wordsOf(std::string_view text) {
    std::vector<std::string_view> words;
    while (!text.empty()) {
        const auto space = text.find(' ');
        if (space != 0)
            words.push_back(text.substr(0, space));
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
    }
    return words;
}

void readExtension(std::string_view extension, EhloExtensions& offered) {
    std::vector<std::string_view> words = wordsOf(extension);
    if (words.empty())
        return;
    std::string_view keyword = words.front();
    // "AUTH=PLAIN LOGIN": the first mechanism follows the "=".
    if (const auto equals = keyword.find('='); equals != std::string_view::npos) {
        words.front() = keyword.substr(equals + 1);
        keyword = keyword.substr(0, equals);
    } else {
        words.erase(words.begin());
    }
    if (ascii::equalsIgnoringCase(keyword, "STARTTLS"))
        offered.startTls = true;
    else if (ascii::equalsIgnoringCase(keyword, "AUTH"))
        for (std::string_view mechanism : words)
            if (!mechanism.empty())
                offered.authMechanisms.emplace_back(mechanism);
}

} // namespace

EhloExtensions readEhloReply(const std::vector<std::string>& lines) {
    EhloExtensions offered;
    // "250-" or "250 " comes before each line's text.
    constexpr std::size_t kCodeLength = 4;
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (lines[i].size() > kCodeLength)
            readExtension(std::string_view(lines[i]).substr(kCodeLength), offered);
    return offered;
}

} // namespace statvane
