#include "peers/scripted_server.h"

#include <memory>

namespace statvane::test {

ScriptedServer::ScriptedServer(Script script) : script_(std::move(script)) {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* connection = server_.nextPendingConnection()) {
            ++connections_;
            connection->setParent(this);
            QObject::connect(connection, &QTcpSocket::readyRead, this, [this, connection] {
                received_ += connection->peek(connection->bytesAvailable());
            });
            script_(*connection, *this);
        }
    });
}

void ScriptedServer::onLines(QTcpSocket& connection,
                             std::function<void(const QByteArray&)> onLine) {
    auto pending = std::make_shared<QByteArray>();
    QObject::connect(&connection, &QTcpSocket::readyRead, &connection,
                     [&connection, pending, onLine = std::move(onLine)] {
                         *pending += connection.readAll();
                         for (qsizetype end; (end = pending->indexOf('\n')) >= 0;) {
                             QByteArray line = pending->left(end);
                             pending->remove(0, end + 1);
                             if (line.endsWith('\r'))
                                 line.chop(1);
                             onLine(line);
                         }
                     });
}

} // namespace statvane::test
