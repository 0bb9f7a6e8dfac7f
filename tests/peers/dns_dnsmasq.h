#pragma once

#include "peers/peer_process.h"

#include <QString>
#include <string>
#include <vector>

namespace statvane::test {

// dnsmasq on 127.0.0.1 answering reverse look-ups from its own records only:
// it reads no configuration, hosts or resolv.conf file and knows no upstream
// server but those given for some networks; an address without a record
// outside those networks gets NXDOMAIN.
class DnsmasqPeer {
  public:
    struct PtrRecord {
        QString address; // dotted IPv4
        QString name;
    };

    // Look-ups of the addresses of a /24 network go to another server on
    // loopback (for instance one that never answers).
    struct Forward {
        QString network;    // the first three parts of a dotted IPv4 address
        std::string server; // "127.0.0.1:port"
    };

    // Starts it on a free port. False, with errorText(), when it did not come
    // up.
    bool start(const std::vector<PtrRecord>& records, const std::vector<Forward>& forwards = {});
    // "127.0.0.1:port", as STATVANE_DNS_SERVER takes it.
    std::string serverText() const;
    QString errorText() const { return process_.errorText(); }

  private:
    PeerProcess process_;
    quint16 port_ = 0;
};

} // namespace statvane::test
