#pragma once

#include "net/http/http_response.h"

#include <string>
#include <string_view>

namespace statvane {

// What asks a proxy for a tunnel to a secure server.
struct TunnelRequest {
    std::string target;    // "host:port"
    std::string proxyUser; // Proxy-Authorization is sent when a proxy user is set
    std::string proxyPassword;
};

// "CONNECT host:port HTTP/1.0", the Host line and the proxy's authorisation,
// each line ending in CR LF, then an empty line.
std::string tunnelRequestText(const TunnelRequest& request);

// The proxy's answer to CONNECT, taken line by line: its status line decides,
// and a 2xx answer opens the tunnel at the empty line after the header.
class TunnelReply {
  public:
    enum class Outcome { Pending, Open, Refused };

    Outcome takeLine(std::string_view line);
    // The proxy's code, 0 when it sent no status line.
    int status() const { return response_.status; }
    // The first line of the answer, empty when there was none.
    std::string firstLine() const;

  private:
    bool accepted() const { return response_.status >= 200 && response_.status < 300; }

    HttpResponse response_;
};

} // namespace statvane
