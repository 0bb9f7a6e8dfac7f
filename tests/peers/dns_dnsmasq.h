#pragma once

#include "peers/peer_process.h"

#include <QString>
#include <string>
#include <vector>

namespace statvane::test {

// dnsmasq on 127.0.0.1 answering reverse look-ups from its own records only:
// it reads no configuration, hosts or resolv.conf file and knows no upstream
// server, so it never forwards a query; an address without a record gets
// NXDOMAIN.
class DnsmasqPeer {
  public:
    struct PtrRecord {
        QString address; // dotted IPv4
        QString name;
    };

    // Starts it on a free port. False, with errorText(), when it did not come
    // up.
    bool start(const std::vector<PtrRecord>& records);
    // "127.0.0.1:port", as STATVANE_DNS_SERVER takes it.
    std::string serverText() const;
    QString errorText() const { return process_.errorText(); }

  private:
    PeerProcess process_;
    quint16 port_ = 0;
};

} // namespace statvane::test
