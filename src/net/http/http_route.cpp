#include "net/http/http_route.h"

#include "platform/false_restrict_warning.h"

#include <charconv>

namespace statvane {

UrlParts requestedUrl(std::string_view url) {
    UrlParts parts = splitUrl(url);
    if (parts.path.empty()) {
        STATVANE_FALSE_RESTRICT_BEGIN
        parts.path = "/";
        STATVANE_FALSE_RESTRICT_END
    }
    return parts;
}

HttpRoute routeFor(const UrlParts& url, std::string_view proxy, std::string_view proxyPort) {
    if (proxy.empty())
        return {url.host, url.port.empty() ? "80" : url.port, url.path};
    const UrlParts proxyParts = splitUrl(proxy);
    return {proxyParts.host, proxyParts.port.empty() ? std::string(proxyPort) : proxyParts.port,
            absoluteAddress(url)};
}

UrlParts redirectedUrl(const UrlParts& current, std::string_view location) {
    if (!location.starts_with('/'))
        return requestedUrl(location);
    UrlParts next = current;
    next.path = location;
    return next;
}

std::optional<std::uint16_t> portNumber(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

} // namespace statvane
