#include "net/http/url_parts.h"

#include "platform/ascii.h"

namespace statvane {
namespace {

// Host and port, where the port follows the last ":" that is not inside an
// IPv6 literal's brackets.
void splitHostPort(std::string_view hostPort, UrlParts& parts) {
    const std::size_t bracketEnd = hostPort.starts_with('[') ? hostPort.find(']') : 0;
    const std::size_t colon = hostPort.rfind(':');
    if (colon == std::string_view::npos ||
        (bracketEnd != std::string_view::npos && colon < bracketEnd)) {
        parts.host = hostPort;
        return;
    }
    parts.host = hostPort.substr(0, colon);
    parts.port = hostPort.substr(colon + 1);
}

// [user [":" password] "@"] host [":" port] [path]. The path starts at the
// first "/", so an "@" in the path is not taken for the credentials' end.
void splitAuthorityAndPath(std::string_view rest, UrlParts& parts) {
    const std::size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    if (slash != std::string_view::npos)
        parts.path = rest.substr(slash);
    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        const std::string_view credentials = authority.substr(0, at);
        const std::size_t colon = credentials.find(':');
        parts.user = credentials.substr(0, colon);
        if (colon != std::string_view::npos)
            parts.password = credentials.substr(colon + 1);
        authority.remove_prefix(at + 1);
    }
    splitHostPort(authority, parts);
}

} // namespace

UrlParts splitUrl(std::string_view url) {
    UrlParts parts;
    const std::size_t separator = url.find("://");
    if (separator != std::string_view::npos) {
        parts.scheme = url.substr(0, separator);
        url.remove_prefix(separator + 3);
    } else if (url.size() >= 5 && ascii::equalsIgnoringCase(url.substr(0, 5), "http:")) {
        url.remove_prefix(5);
    }
    splitAuthorityAndPath(url, parts);
    return parts;
}

std::string absoluteAddress(const UrlParts& parts) {
    std::string address = parts.scheme + "://" + parts.host;
    if (!parts.port.empty())
        address += ":" + parts.port;
    return address + parts.path;
}

} // namespace statvane
