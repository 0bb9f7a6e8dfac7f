#include "net/http/http_route.h"

#include "platform/ascii.h"
#include "platform/false_restrict_warning.h"

#include <charconv>

namespace statvane {
namespace {

constexpr std::string_view securePort = "443";

// The port the address names, else the scheme's own.
std::string serverPort(const UrlParts& url) {
    if (!url.port.empty())
        return url.port;
    return isSecure(url) ? std::string(securePort) : "80";
}

} // namespace

UrlParts requestedUrl(std::string_view url) {
    UrlParts parts = splitUrl(url);
    if (parts.path.empty()) {
        STATVANE_FALSE_RESTRICT_BEGIN
        parts.path = "/";
        STATVANE_FALSE_RESTRICT_END
    }
    return parts;
}

bool isSecure(const UrlParts& url) {
    return ascii::equalsIgnoringCase(url.scheme, "https");
}

HttpRoute routeFor(const UrlParts& url, std::string_view proxy, std::string_view proxyPort) {
    const bool secure = isSecure(url);
    if (proxy.empty())
        return {url.host, serverPort(url), url.path, secure, {}};
    const UrlParts proxyParts = splitUrl(proxy);
    std::string port = proxyParts.port.empty() ? std::string(proxyPort) : proxyParts.port;
    if (secure)
        return {proxyParts.host, std::move(port), url.path, true, url.host + ":" + serverPort(url)};
    return {proxyParts.host, std::move(port), absoluteAddress(url), false, {}};
}

std::string hostHeader(const UrlParts& url) {
    if (!isSecure(url) || url.port.empty() || url.port == securePort)
        return url.host;
    return url.host + ":" + url.port;
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
