#include "platform/single_instance.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

namespace statvane {

SingleInstance::SingleInstance(const QString& folder) {
    const QString where = folder.isEmpty() ? runtimeFolder() : folder;
    if (where.isEmpty())
        return;
    lock_ = std::make_unique<QLockFile>(where + "/PROJECT1");
    // A copy may run for days: only a lock whose process is gone is stale.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        state_ = State::Acquired;
    else if (lock_->error() == QLockFile::LockFailedError)
        state_ = State::HeldByOther;
}

QString SingleInstance::runtimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime;
    const QString folder = QDir::tempPath() + "/statvane-" + QString::number(getuid());
    if (!QDir().mkpath(folder))
        return {};
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

} // namespace statvane
