#include "peers/peer_process.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace statvane::test {

quint16 freeLoopbackPort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool peerAvailable(const QString& program) {
    if (program.contains('/'))
        return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty() ||
           !QStandardPaths::findExecutable(program, {"/usr/sbin", "/sbin"}).isEmpty();
}

bool runningUnderCi() {
    return qEnvironmentVariable("CI") == "true";
}

bool pythonModuleAvailable(const QString& module) {
    QProcess probe;
    probe.start(kSystemPython, {"-c", "import " + module});
    return probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
           probe.exitCode() == 0;
}

PeerProcess::~PeerProcess() {
    stop();
}

bool PeerProcess::start(const QString& program, const QStringList& arguments, quint16 port,
                        const QString& workingDirectory, int timeoutMs) {
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::MergedChannels);
    if (!workingDirectory.isEmpty())
        process_->setWorkingDirectory(workingDirectory);
    QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(program, {"/usr/sbin", "/sbin"});
    process_->start(path.isEmpty() ? program : path, arguments);
    if (!process_->waitForStarted(timeoutMs))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (process_->state() == QProcess::NotRunning)
            return false;
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        if (probe.waitForConnected(200))
            return true;
        QThread::msleep(50);
    }
    return false;
}

void PeerProcess::stop() {
    if (!process_ || process_->state() == QProcess::NotRunning)
        return;
    process_->terminate();
    if (!process_->waitForFinished(3000)) {
        process_->kill();
        process_->waitForFinished(3000);
    }
}

QString PeerProcess::errorText() const {
    return process_ ? QString::fromLocal8Bit(process_->readAll()) : QString();
}

} // namespace statvane::test
