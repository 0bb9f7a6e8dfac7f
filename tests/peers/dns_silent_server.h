#pragma once

#include <string>

namespace statvane::test {

// A UDP socket on 127.0.0.1 that takes DNS queries and never answers them.
class SilentDnsServer {
  public:
    SilentDnsServer();
    ~SilentDnsServer();
    SilentDnsServer(const SilentDnsServer&) = delete;
    SilentDnsServer& operator=(const SilentDnsServer&) = delete;

    // "127.0.0.1:port", as STATVANE_DNS_SERVER takes it.
    std::string serverText() const;
    // True when a datagram has arrived since the last call (it is consumed).
    bool takeQuery();

  private:
    int socket_ = -1;
    unsigned short port_ = 0;
};

} // namespace statvane::test
