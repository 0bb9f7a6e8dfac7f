#include "peers/dns_dnsmasq.h"

#include <QStringList>
#include <algorithm>

namespace statvane::test {
namespace {

// 192.0.2.10 -> 10.2.0.192.in-addr.arpa
QString reverseZoneName(const QString& address) {
    QStringList parts = address.split('.');
    std::reverse(parts.begin(), parts.end());
    return parts.join('.') + ".in-addr.arpa";
}

// "/100.51.198.in-addr.arpa/127.0.0.1#5353" for 198.51.100 and
// 127.0.0.1:5353.
QString forwardRule(const DnsmasqPeer::Forward& forward) {
    const QString server = QString::fromStdString(forward.server);
    const auto colon = server.lastIndexOf(':');
    return "/" + reverseZoneName(forward.network) + "/" + server.left(colon) + "#" +
           server.mid(colon + 1);
}

} // namespace

bool DnsmasqPeer::start(const std::vector<PtrRecord>& records,
                        const std::vector<Forward>& forwards) {
    port_ = freeLoopbackPort();
    QStringList arguments{"--no-daemon",
                          "--conf-file=/dev/null",
                          "--pid-file=",
                          "--log-facility=-",
                          "--port=" + QString::number(port_),
                          "--listen-address=127.0.0.1",
                          "--bind-interfaces",
                          "--no-resolv",
                          "--no-hosts",
                          "--local=/in-addr.arpa/"};
    // Many queries forwarded at once are kept rather than dropped.
    arguments << "--dns-forward-max=20000";
    for (const Forward& forward : forwards)
        arguments << "--server=" + forwardRule(forward);
    for (const PtrRecord& record : records)
        arguments << "--ptr-record=" + reverseZoneName(record.address) + "," + record.name;
    return port_ != 0 && process_.start("dnsmasq", arguments, port_);
}

std::string DnsmasqPeer::serverText() const {
    return "127.0.0.1:" + std::to_string(port_);
}

} // namespace statvane::test
