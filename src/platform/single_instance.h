#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace statvane {

// The lock that keeps a second copy of the desktop program from starting: a
// lock file "PROJECT1" in the user's runtime folder. A lock left by a copy
// that crashed is stale and taken over.
class SingleInstance {
  public:
    enum class State {
        Acquired,    // this copy holds the lock until it ends
        HeldByOther, // another copy runs
        Unavailable, // the lock file cannot be made; the program runs unguarded
    };

    // Tries to take the lock in folder, or in runtimeFolder() when empty.
    explicit SingleInstance(const QString& folder = {});

    State state() const { return state_; }

    // $XDG_RUNTIME_DIR when set; else a per-user folder under the temporary
    // folder, made on first use and readable by the user alone.
    static QString runtimeFolder();

  private:
    std::unique_ptr<QLockFile> lock_;
    State state_ = State::Unavailable;
};

} // namespace statvane
