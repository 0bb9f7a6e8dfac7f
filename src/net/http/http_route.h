#pragma once

#include "net/http/url_parts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace statvane {

// Where a request is sent and what its request line asks for.
struct HttpRoute {
    std::string host;    // the server's, or the proxy's when one is set
    std::string port;    // empty when a proxy names none and no proxy port is set
    std::string path;    // a proxy is asked for the whole address, unless it tunnels
    bool secure = false; // the request goes over TLS, end to end with the server
    std::string tunnel;  // "host:port" a proxy is asked to CONNECT to; empty for none
};

// The address requested: split, with an empty path made "/".
UrlParts requestedUrl(std::string_view url);

// True for an "https" address (any case).
bool isSecure(const UrlParts& url);

// Direct: the address's host, at its port or 80 (443 for https). Through a
// proxy (a proxy host text, split like an address): the proxy's host, at its
// port or else `proxyPort`; an https address goes through a tunnel to its
// server, so the proxy is not asked for the whole address.
HttpRoute routeFor(const UrlParts& url, std::string_view proxy, std::string_view proxyPort);

// The Host header's value: the host, and for https the port when the address
// names one other than 443.
std::string hostHeader(const UrlParts& url);

// The address a "Location" value sends the request to: a value beginning with
// "/" is a path on the current server (with the current credentials), any
// other is split like an address.
UrlParts redirectedUrl(const UrlParts& current, std::string_view location);

// A port text as a TCP port number (1 to 65535).
std::optional<std::uint16_t> portNumber(std::string_view text);

} // namespace statvane
