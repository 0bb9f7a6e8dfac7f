#pragma once

// STATVANE_DNS_SERVER names the one DNS server that the default resolver
// library asks in place of those of /etc/resolv.conf: a numeric address and a
// port, "127.0.0.1:5353" or "[::1]:5353". The library and the program read it
// through these functions, so that both accept exactly the same texts.

#include <arpa/inet.h>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <netinet/in.h>
#include <optional>
#include <string>
#include <string_view>
#include <sys/socket.h>

namespace statvane {

inline constexpr const char* kDnsServerVariable = "STATVANE_DNS_SERVER";

struct DnsServerAddress {
    int family = AF_INET; // AF_INET or AF_INET6
    in_addr ipv4{};       // when family is AF_INET
    in6_addr ipv6{};      // when family is AF_INET6
    std::uint16_t port = 0;
};

// The value of STATVANE_DNS_SERVER; nothing when it is unset or empty.
inline std::optional<std::string> dnsServerVariable() {
    const char* value = std::getenv(kDnsServerVariable);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

namespace dns_server_detail {

struct HostAndPort {
    int family;
    std::string host;
    std::string_view port;
};

// "host:port", or "[host]:port" for IPv6; nothing without the separator.
inline std::optional<HostAndPort> split(std::string_view text) {
    if (text.starts_with('[')) {
        const auto close = text.find("]:");
        if (close == std::string_view::npos)
            return std::nullopt;
        return HostAndPort{AF_INET6, std::string(text.substr(1, close - 1)),
                           text.substr(close + 2)};
    }
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    return HostAndPort{AF_INET, std::string(text.substr(0, colon)), text.substr(colon + 1)};
}

// 1 to 65535 in decimal digits only.
inline std::optional<std::uint16_t> portOf(std::string_view text) {
    if (text.empty() || text.size() > 5 || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < 1 || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

} // namespace dns_server_detail

// "a.b.c.d:port" or "[IPv6 address]:port" with a port from 1 to 65535. Host
// names are not taken: looking one up would itself need a DNS server.
inline std::optional<DnsServerAddress> parseDnsServerAddress(std::string_view text) {
    const auto parts = dns_server_detail::split(text);
    if (!parts)
        return std::nullopt;
    const auto port = dns_server_detail::portOf(parts->port);
    if (!port)
        return std::nullopt;
    DnsServerAddress server;
    server.family = parts->family;
    server.port = *port;
    void* address = server.family == AF_INET6 ? static_cast<void*>(&server.ipv6) : &server.ipv4;
    if (::inet_pton(server.family, parts->host.c_str(), address) != 1)
        return std::nullopt;
    return server;
}

} // namespace statvane
