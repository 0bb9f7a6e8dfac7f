#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

namespace statvane::test {

// A free TCP port on 127.0.0.1 at the moment of asking.
quint16 freeLoopbackPort();

// True when `program` (a name on PATH or a full path) can be run. A test that
// needs a missing peer fails under CI (CI=true) and is skipped elsewhere; use
// the REQUIRE_PEER macro below.
bool peerAvailable(const QString& program);
bool runningUnderCi();
// True when the system's python3 can import the module.
bool pythonModuleAvailable(const QString& module);
inline const QString kSystemPython = "/usr/bin/python3";

// A real server program started by a test, on loopback, ended with the test.
class PeerProcess {
  public:
    PeerProcess() = default;
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    // Starts the program and waits (bounded) until 127.0.0.1:port accepts
    // connections. False, with the program's output in errorText(), when it
    // did not come up.
    bool start(const QString& program, const QStringList& arguments, quint16 port,
               const QString& workingDirectory = {}, int timeoutMs = 10000);
    void stop();
    QString errorText() const;

  private:
    std::unique_ptr<QProcess> process_;
};

} // namespace statvane::test

#define REQUIRE_PEER(program)                                                                      \
    do {                                                                                           \
        if (!::statvane::test::peerAvailable(program)) {                                           \
            if (::statvane::test::runningUnderCi())                                                \
                FAIL() << "test peer missing: " << QString(program).toStdString();                 \
            GTEST_SKIP() << "test peer missing: " << QString(program).toStdString();               \
        }                                                                                          \
    } while (false)
