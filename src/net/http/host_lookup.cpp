#include "net/http/host_lookup.h"

#include <QHostInfo>

namespace statvane {

void systemHostLookup(const QString& host, HostLookupDone done) {
    QHostInfo::lookupHost(host, [done = std::move(done)](const QHostInfo& info) {
        done(info.error() == QHostInfo::NoError ? info.addresses() : QList<QHostAddress>());
    });
}

} // namespace statvane
