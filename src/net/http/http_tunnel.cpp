#include "net/http/http_tunnel.h"

#include "net/http/http_request.h"

namespace statvane {

std::string tunnelRequestText(const TunnelRequest& request) {
    std::string text = "CONNECT " + request.target + " HTTP/1.0\r\n";
    text += "Host: " + request.target + "\r\n";
    if (!request.proxyUser.empty())
        text +=
            "Proxy-Authorization: " + basicAuthorization(request.proxyUser, request.proxyPassword) +
            "\r\n";
    return text + "\r\n";
}

TunnelReply::Outcome TunnelReply::takeLine(std::string_view line) {
    switch (takeHeaderLine(line, response_)) {
    case HeaderLine::NoHeader:
        return Outcome::Refused;
    case HeaderLine::End:
        return accepted() ? Outcome::Open : Outcome::Refused;
    case HeaderLine::Field:
        break;
    }
    return response_.header.size() == 1 && !accepted() ? Outcome::Refused : Outcome::Pending;
}

std::string TunnelReply::firstLine() const {
    return response_.header.empty() ? std::string() : response_.header.front();
}

} // namespace statvane
