#include "net/smtp/message_id.h"

#include "net/smtp/smtp_text.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRandomGenerator>
#include <cstdio>

namespace statvane {
namespace {

// Letters, digits and "-" in labels separated by single dots: what may stand
// right of the "@" of a Message-ID without quoting.
bool isHostName(std::string_view name) {
    if (name.empty() || name.front() == '.' || name.back() == '.' ||
        name.find("..") != std::string_view::npos)
        return false;
    for (const char c : name) {
        const bool letterOrDigit =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '-' && c != '.')
            return false;
    }
    return true;
}

// The part after the last "@" of the address, which is the text between
// angle brackets when there are any.
std::string_view domainOf(std::string_view from) {
    if (const auto open = from.rfind('<'); open != std::string_view::npos) {
        from.remove_prefix(open + 1);
        from = from.substr(0, from.find('>'));
    }
    const auto at = from.rfind('@');
    return at == std::string_view::npos ? std::string_view() : trimControls(from.substr(at + 1));
}

} // namespace

std::string uniqueMessagePart() {
    char text[64];
    std::snprintf(text, sizeof text, "%lld.%lld.%016llx",
                  static_cast<long long>(QDateTime::currentMSecsSinceEpoch()),
                  static_cast<long long>(QCoreApplication::applicationPid()),
                  static_cast<unsigned long long>(QRandomGenerator::system()->generate64()));
    return text;
}

std::string messageIdText(std::string_view unique, std::string_view from,
                          std::string_view localHost) {
    std::string_view domain = domainOf(from);
    if (!isHostName(domain))
        domain = isHostName(localHost) ? localHost : "localhost";
    std::string id = "<";
    id.append(unique).append("@").append(domain).append(">");
    return id;
}

} // namespace statvane
