#include "http_test_support.h"

#include <QTimer>
#include <memory>

namespace statvane::test {

HostLookup LoopbackNames::lookup() {
    return [this](const QString& host, HostLookupDone done) {
        asked_ << host;
        if (host == "silent.test")
            return;
        QList<QHostAddress> addresses;
        if (host == "pages.test" || host == "other.test" || host == "localhost")
            addresses << QHostAddress(QHostAddress::LocalHost);
        QTimer::singleShot(0, [done, addresses] { done(addresses); });
    };
}

namespace {

QtMessages* keeping = nullptr;

} // namespace

QtMessages::QtMessages() : previous_(qInstallMessageHandler(keep)) {
    keeping = this;
}

QtMessages::~QtMessages() {
    qInstallMessageHandler(previous_);
    keeping = nullptr;
}

void QtMessages::keep(QtMsgType, const QMessageLogContext&, const QString& text) {
    if (keeping)
        keeping->logged_ << text;
}

std::optional<EHttpException> requestHead(THttpCli& client) {
    try {
        client.RequestHead();
    } catch (const EHttpException& error) {
        return error;
    }
    return std::nullopt;
}

ScriptedServer::Script replyWith(QByteArray reply) {
    return [reply](QTcpSocket& connection, ScriptedServer&) {
        ScriptedServer::onLines(connection, [&connection, reply](const QByteArray& line) {
            if (!line.isEmpty())
                return;
            connection.write(reply);
            connection.disconnectFromHost();
        });
    };
}

ScriptedServer::Script endlessHeader() {
    return [](QTcpSocket& connection, ScriptedServer&) {
        ScriptedServer::onLines(connection, [&connection](const QByteArray& line) {
            if (!line.isEmpty())
                return;
            const QByteArray lines =
                (QByteArray("X-Padding: ") + QByteArray(4083, 'a') + "\r\n").repeated(16);
            QObject::connect(&connection, &QTcpSocket::bytesWritten, &connection,
                             [&connection, lines] {
                                 if (connection.bytesToWrite() == 0 &&
                                     connection.state() == QAbstractSocket::ConnectedState)
                                     connection.write(lines);
                             });
            connection.write("HTTP/1.0 200 OK\r\n" + lines);
        });
    };
}

std::string localUrl(quint16 port, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

ScriptedServer::Script replyByPath(std::map<QByteArray, QByteArray> replies, ReplyDelay delay) {
    return [replies, delay](QTcpSocket& connection, ScriptedServer&) {
        auto path = std::make_shared<QByteArray>();
        ScriptedServer::onLines(
            connection, [&connection, replies, delay, path](const QByteArray& line) {
                if (path->isEmpty()) {
                    *path = line.split(' ').value(1);
                    return;
                }
                if (!line.isEmpty())
                    return;
                const auto found = replies.find(*path);
                const QByteArray reply =
                    found != replies.end() ? found->second : "HTTP/1.0 500 Unexpected path\r\n\r\n";
                QTimer::singleShot(delay ? delay(*path) : std::chrono::milliseconds{}, &connection,
                                   [&connection, reply] {
                                       connection.write(reply);
                                       connection.disconnectFromHost();
                                   });
            });
    };
}

} // namespace statvane::test
