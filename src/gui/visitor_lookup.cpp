#include "gui/visitor_lookup.h"

#include <QtConcurrent/QtConcurrentRun>

namespace statvane {

VisitorLookup::VisitorLookup(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFutureWatcherBase::finished, this, [this] {
        cursor_.reset();
        emit answered();
    });
}

// The worker has copies of the library's entries and of the line, so it
// needs nothing of this object's.
void VisitorLookup::start(const ResolverLibrary& library, std::string line) {
    cursor_.emplace();
    watcher_.setFuture(
        QtConcurrent::run([library, line = std::move(line)] { return library.resolveIP(line); }));
}

} // namespace statvane
