#pragma once

#include "gui/busy_cursor.h"
#include "platform/resolver_library.h"

#include <QFutureWatcher>
#include <QObject>
#include <optional>
#include <string>

namespace statvane {

// The look-up of one visitor line by the resolver library, made on a worker
// thread so that the windows go on responding. The busy cursor shows from its
// start until its answer is in. One look-up at a time.
class VisitorLookup : public QObject {
    Q_OBJECT
  public:
    explicit VisitorLookup(QObject* parent = nullptr);

    // From start until answered has been emitted.
    bool busy() const { return cursor_.has_value(); }
    // Looks the line up with the library; call only when not busy.
    void start(const ResolverLibrary& library, std::string line);
    // After answered: the name, or nothing. Raises what the look-up raised.
    std::optional<std::string> answer() const { return watcher_.result(); }

  signals:
    void answered();

  private:
    QFutureWatcher<std::optional<std::string>> watcher_;
    std::optional<BusyCursor> cursor_;
};

} // namespace statvane
