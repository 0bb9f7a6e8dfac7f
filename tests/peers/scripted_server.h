#pragma once

#include <QByteArray>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <vector>

namespace statvane::test {

// A TCP server on a free loopback port for the replies a real server will not
// give on demand. For every connection it calls the script, which drives the
// socket with Qt's signals (reply, hang, drop). Everything received is kept.
class ScriptedServer : public QObject {
  public:
    using Script = std::function<void(QTcpSocket& connection, ScriptedServer& server)>;

    explicit ScriptedServer(Script script);

    quint16 port() const { return server_.serverPort(); }
    int connectionCount() const { return connections_; }
    // All bytes received over all connections, in arrival order.
    const QByteArray& received() const { return received_; }

    // Calls `onLine` with each complete line (without its CR LF) that arrives
    // on the connection, for scripts that answer line by line.
    static void onLines(QTcpSocket& connection, std::function<void(const QByteArray&)> onLine);

  private:
    QTcpServer server_;
    Script script_;
    int connections_ = 0;
    QByteArray received_;
};

} // namespace statvane::test
