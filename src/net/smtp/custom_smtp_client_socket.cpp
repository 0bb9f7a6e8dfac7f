// The connection side of TCustomSmtpClient: look-up, connecting, TLS,
// receiving reply lines and the end of the connection. Each connection has
// its own socket, so that nothing left over from an old one reaches a new
// request.
#include "net/smtp/custom_smtp_client.h"
#include "net/smtp/socket_error.h"
#include "net/tls_trust.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QMetaObject>
#include <QSslSocket>
#include <utility>

namespace statvane {

// A dotted address needs no look-up (QHostInfo would look up its name
// instead); it is still taken up from the event loop, like a look-up result.
// A result that comes after Abort or for an older Connect is ignored.
void TCustomSmtpClient::lookUpHost() {
    const unsigned generation = ++lookupGeneration_;
    const auto current = [this, generation] {
        return generation == lookupGeneration_ && state_ == smtpDnsLookup;
    };
    const QString host = QString::fromLatin1(Host);
    if (const QHostAddress address(host); !address.isNull()) {
        QMetaObject::invokeMethod(
            this,
            [this, current, address] {
                if (current())
                    connectTo(address);
            },
            Qt::QueuedConnection);
        return;
    }
    QHostInfo::lookupHost(host, this, [this, current](const QHostInfo& info) {
        if (current())
            onLookupDone(info);
    });
}

void TCustomSmtpClient::onLookupDone(const QHostInfo& info) {
    if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
        const SocketError error = lookupErrorOf(info.error());
        failConnection(error.number, socketErrorResponse(error));
        return;
    }
    connectTo(info.addresses().constFirst());
}

void TCustomSmtpClient::connectTo(const QHostAddress& address) {
    socket_ = new QSslSocket(this);
    handshaking_ = false;
    tlsUp_ = false;
    connect(socket_, &QSslSocket::connected, this, [this] { onConnected(); });
    connect(socket_, &QSslSocket::encrypted, this, [this] { onEncrypted(); });
    connect(socket_, &QSslSocket::sslErrors, this, [this](const QList<QSslError>& errors) {
        certificateErrors_ = tlsFailureReason(errors);
    });
    connect(socket_, &QSslSocket::readyRead, this, [this] { onReadyRead(); });
    connect(socket_, &QSslSocket::bytesWritten, this, [this] { pumpMessage(); });
    connect(socket_, &QSslSocket::disconnected, this, [this] { onDisconnected(); });
    connect(socket_, &QSslSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) { onSocketError(error); });
    setState(smtpConnecting);
    socket_->connectToHost(address, port_);
}

// With TLS from the first byte the connection counts as made, and the
// greeting is awaited, only once the handshake has succeeded.
void TCustomSmtpClient::onConnected() {
    if (Security == smtpTls)
        startEncryption();
    else
        startSession();
}

void TCustomSmtpClient::startSession() {
    connected_ = true;
    setState(smtpWaitingBanner);
}

// The peer must prove the name the user gave, not the address it has.
void TCustomSmtpClient::startEncryption() {
    handshaking_ = true;
    certificateErrors_.clear();
    requireTrustedPeer(*socket_, QString::fromLatin1(Host));
    socket_->startClientEncryption();
}

// A greeting that came with the end of the handshake is read at once.
void TCustomSmtpClient::onEncrypted() {
    handshaking_ = false;
    tlsUp_ = true;
    if (state_ != smtpConnecting) {
        sendEhlo();
        return;
    }
    startSession();
    onReadyRead();
}

void TCustomSmtpClient::noteHandshakeFailure() {
    if (!std::exchange(handshaking_, false))
        return;
    const bool untrusted = !certificateErrors_.empty();
    signInFailure_ = untrusted ? TSmtpSignInFailure::certificateNotTrusted
                               : TSmtpSignInFailure::secureConnectionFailed;
    signInFailureReason_ = untrusted ? certificateErrors_ : socket_->errorString().toStdString();
}

void TCustomSmtpClient::onSocketError(QAbstractSocket::SocketError error) {
    noteHandshakeFailure();
    if (state_ == smtpConnecting) {
        releaseSocket();
        const SocketError failure = socketErrorOf(error);
        failConnection(failure.number, socketErrorResponse(failure));
    } else if (socket_ && socket_->state() == QAbstractSocket::UnconnectedState) {
        onDisconnected();
    }
}

// Bytes that arrived with the close are still read before the end is handled.
void TCustomSmtpClient::onDisconnected() {
    noteHandshakeFailure();
    QSslSocket* socket = socket_;
    onReadyRead();
    if (socket_ == socket)
        connectionEnded();
}

void TCustomSmtpClient::onReadyRead() {
    QSslSocket* socket = socket_;
    while (socket && socket_ == socket && socket->bytesAvailable() > 0) {
        const QByteArray bytes = socket->read(static_cast<qint64>(receiveBuffer_.room()));
        receiveBuffer_.append(std::string_view(bytes.constData(), bytes.size()));
        while (socket_ == socket) {
            const std::optional<std::string> line = receiveBuffer_.takeLine();
            if (!line)
                break;
            handleLine(*line);
        }
    }
}

void TCustomSmtpClient::failConnection(int number, const std::string& response) {
    lastResponse_ = response;
    replyCode_ = 500;
    setErrorMessage(response);
    finishRequest(number);
}

void TCustomSmtpClient::connectionEnded() {
    const bool wasConnected = std::exchange(connected_, false);
    releaseSocket();
    if (wasConnected && OnSessionClosed)
        OnSessionClosed();
    finishRequest(connectionClosedError);
}

void TCustomSmtpClient::dropConnection() {
    setState(smtpAbort);
    connectionEnded();
}

void TCustomSmtpClient::releaseSocket() {
    handshaking_ = false;
    QSslSocket* socket = std::exchange(socket_, nullptr);
    if (!socket)
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

} // namespace statvane
