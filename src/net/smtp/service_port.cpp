#include "net/smtp/service_port.h"

#include <charconv>
#include <netdb.h>
#include <netinet/in.h>

namespace statvane {

std::optional<std::uint16_t> servicePort(const std::string& port) {
    unsigned number = 0;
    const char* end = port.data() + port.size();
    const auto [stop, error] = std::from_chars(port.data(), end, number);
    if (error == std::errc() && stop == end && !port.empty())
        return number >= 1 && number <= 65535 ? std::optional<std::uint16_t>(number) : std::nullopt;
    // The well-known SMTP port does not depend on the services database.
    if (port == "smtp")
        return 25;
    if (const servent* service = ::getservbyname(port.c_str(), "tcp"))
        return ntohs(static_cast<std::uint16_t>(service->s_port));
    return std::nullopt;
}

} // namespace statvane
