#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>
#include <functional>

namespace statvane {

// Looks up a host name and calls `done` once with its addresses, an empty
// list when the name does not resolve. `done` may be called at once or later
// from the event loop.
using HostLookupDone = std::function<void(const QList<QHostAddress>& addresses)>;
using HostLookup = std::function<void(const QString& host, HostLookupDone done)>;

// The system resolver, through Qt's asynchronous look-up.
void systemHostLookup(const QString& host, HostLookupDone done);

} // namespace statvane
