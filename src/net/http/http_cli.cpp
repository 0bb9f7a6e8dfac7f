#include "net/http/http_cli.h"

#include "net/http/http_request.h"
#include "net/tls_trust.h"

#include <QEventLoop>
#include <QPointer>
#include <QSslSocket>
#include <algorithm>
#include <new>
#include <utility>

namespace statvane {
namespace {

constexpr int cancelPollMs = 200;
const std::string cantResolve = "can't resolve hostname to IP address";

// "[::1]" names the address ::1.
QString lookupName(const std::string& host) {
    const QString name = QString::fromUtf8(host);
    if (name.startsWith('[') && name.endsWith(']'))
        return name.mid(1, name.size() - 2);
    return name;
}

// The server as the address names it: host, and port when one is given.
std::string serverName(const UrlParts& url) {
    return url.port.empty() ? url.host : url.host + ":" + url.port;
}

const char* failureText(HttpLineReader::Failure failure) {
    return failure == HttpLineReader::Failure::LineTooLong ? "HTTP line too long"
                                                           : "HTTP header too long";
}

} // namespace

template <typename Work> void THttpCli::guarded(Work&& work) {
    try {
        work();
    } catch (const std::bad_alloc&) {
        ranOutOfMemory();
    }
}

template <typename... Args> auto THttpCli::guardedSlot(void (THttpCli::*slot)(Args...)) {
    return [this, slot](Args... args) { guarded([&] { (this->*slot)(args...); }); };
}

// Whatever the failed allocation was for is released by now, so ending the
// request needs little memory: the reason fits a short string's own storage.
void THttpCli::ranOutOfMemory() {
    outOfMemory_ = true;
    fail("out of memory");
}

THttpCli::THttpCli() {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this,
            [this] { guarded([this] { fail("request timed out"); }); });
    cancelPoll_.setInterval(cancelPollMs);
    connect(&cancelPoll_, &QTimer::timeout, this, [this] {
        guarded([this] {
            if (cancelCheck_ && cancelCheck_())
                Abort();
        });
    });
}

THttpCli::~THttpCli() {
    detachSocket();
}

void THttpCli::RequestHead() {
    StartHead({});
    if (state_ != State::Ready) {
        QEventLoop wait;
        wait_ = &wait;
        wait.exec();
        wait_ = nullptr;
    }
    // The wait can also end from outside, when the application quits.
    Abort();
    socket_.reset();
    if (outOfMemory_)
        throw std::bad_alloc();
    if (response_.status >= 400)
        throw EHttpException(response_.reason, response_.status);
}

void THttpCli::StartHead(std::function<void()> finished) {
    if (state_ != State::Ready)
        throw EHttpException("HTTP component is busy", 0);
    finished_ = std::move(finished);
    response_ = {};
    outOfMemory_ = false;
    currentAddress_ = url_;
    redirections_ = 0;
    state_ = State::NotConnected;
    deadline_.start(std::max(0, timeoutMs_));
    cancelPoll_.start();
    startHop(requestedUrl(url_));
}

void THttpCli::Abort() {
    if (state_ != State::Ready)
        fail("request cancelled");
}

void THttpCli::startHop(const UrlParts& url) {
    ++hop_;
    currentUrl_ = url;
    reader_ = {};
    tunnelReply_ = {};
    certificateErrors_.clear();
    const HttpRoute route = routeFor(url, proxy_, proxyPort_);
    if (route.port.empty())
        return fail("can't connect: no port given for the proxy");
    const auto port = portNumber(route.port);
    if (!port)
        return fail("can't connect: invalid port " + route.port);
    port_ = *port;
    secure_ = route.secure;
    tunnelText_ = tunnelText(route);
    requestText_ = requestText(headRequest(url, route));
    lookUp(route.host);
}

HeadRequest THttpCli::headRequest(const UrlParts& url, const HttpRoute& route) const {
    HeadRequest request;
    request.path = route.path;
    request.host = hostHeader(url);
    request.sender = sender_;
    request.accept = accept_;
    request.reference = reference_;
    request.agent = agent_;
    request.noCache = noCache_;
    request.modifiedSince = modifiedSince_;
    request.user = url.user;
    request.password = url.password;
    // Inside a tunnel the request reaches the server: the proxy's
    // credentials went with CONNECT only.
    if (!proxy_.empty() && route.tunnel.empty()) {
        request.proxyUser = proxyUsername_;
        request.proxyPassword = proxyPassword_;
    }
    request.cookie = cookie_;
    return request;
}

std::string THttpCli::tunnelText(const HttpRoute& route) const {
    if (route.tunnel.empty())
        return {};
    return tunnelRequestText({route.tunnel, proxyUsername_, proxyPassword_});
}

void THttpCli::lookUp(const std::string& host) {
    state_ = State::DnsLookup;
    const QString name = lookupName(host);
    if (QHostAddress address; address.setAddress(name))
        return connectTo(address);
    if (name.isEmpty())
        return fail(cantResolve);
    hostLookup_(
        name, [self = QPointer<THttpCli>(this), hop = hop_](const QList<QHostAddress>& addresses) {
            if (!self || self->hop_ != hop || self->state_ != State::DnsLookup)
                return;
            self->guarded([&] {
                if (addresses.isEmpty())
                    self->fail(cantResolve);
                else
                    self->connectTo(addresses.first());
            });
        });
}

void THttpCli::connectTo(const QHostAddress& address) {
    state_ = State::DnsLookupDone;
    socket_ = secure_ ? secureSocket() : std::make_unique<QTcpSocket>();
    connect(socket_.get(), &QTcpSocket::connected, this, guardedSlot(&THttpCli::connected));
    connect(socket_.get(), &QTcpSocket::readyRead, this, guardedSlot(&THttpCli::readReceived));
    connect(socket_.get(), &QTcpSocket::disconnected, this, guardedSlot(&THttpCli::serverClosed));
    connect(socket_.get(), &QTcpSocket::errorOccurred, this, guardedSlot(&THttpCli::socketFailed));
    socket_->connectToHost(address, port_);
}

// The connection is made to a looked-up address, so the certificate is
// checked against the name in the address. Errors the handshake finds are
// kept for the failure that follows them; none is ever ignored.
std::unique_ptr<QTcpSocket> THttpCli::secureSocket() {
    auto socket = std::make_unique<QSslSocket>();
    requireTrustedPeer(*socket, lookupName(currentUrl_.host));
    connect(socket.get(), &QSslSocket::encrypted, this, guardedSlot(&THttpCli::sendRequest));
    connect(socket.get(), &QSslSocket::sslErrors, this,
            guardedSlot(&THttpCli::keepCertificateErrors));
    return socket;
}

void THttpCli::keepCertificateErrors(const QList<QSslError>& errors) {
    certificateErrors_ = errors;
}

void THttpCli::connected() {
    if (!tunnelText_.empty()) {
        state_ = State::WaitingForTunnel;
        socket_->write(tunnelText_.data(), static_cast<qint64>(tunnelText_.size()));
    } else if (secure_) {
        startTls();
    } else {
        sendRequest();
    }
}

// Whatever the proxy sent after its answer is not the server's.
void THttpCli::startTls() {
    state_ = State::TlsHandshake;
    reader_ = {};
    static_cast<QSslSocket&>(*socket_).startClientEncryption();
}

void THttpCli::sendRequest() {
    state_ = State::WaitingForHeader;
    socket_->write(requestText_.data(), static_cast<qint64>(requestText_.size()));
}

void THttpCli::readReceived() {
    const QByteArray bytes = socket_->readAll();
    reader_.append({bytes.constData(), static_cast<std::size_t>(bytes.size())});
    const auto hop = hop_;
    while (hop == hop_ && readingLines()) {
        const auto line = reader_.nextLine();
        if (!line)
            break;
        if (state_ == State::WaitingForTunnel)
            takeTunnelLine(*line);
        else
            takeLine(*line);
    }
    if (hop == hop_ && readingLines() && reader_.failure() != HttpLineReader::Failure::None)
        fail(failureText(reader_.failure()));
}

bool THttpCli::readingLines() const {
    return state_ == State::WaitingForHeader || state_ == State::WaitingForTunnel;
}

// A HEAD response ends with its header: the request ends there without
// waiting for the server to close.
void THttpCli::takeLine(const std::string& line) {
    const HeaderLine kind = takeHeaderLine(line, response_);
    if (response_.status >= 400 || kind == HeaderLine::NoHeader)
        return end();
    if (kind != HeaderLine::End)
        return;
    if (response_.location)
        redirect(*response_.location);
    else
        end();
}

void THttpCli::takeTunnelLine(const std::string& line) {
    switch (tunnelReply_.takeLine(line)) {
    case TunnelReply::Outcome::Open:
        return startTls();
    case TunnelReply::Outcome::Refused:
        return tunnelRefused();
    case TunnelReply::Outcome::Pending:
        break;
    }
}

// A proxy's refusal keeps its error code (an authorisation it wants, say);
// any other answer but success stands for a server that was not reached.
void THttpCli::tunnelRefused() {
    const std::string answer = tunnelReply_.firstLine();
    const int status = tunnelReply_.status();
    fail("proxy refused the tunnel: " + (answer.empty() ? std::string("no answer") : answer),
         status >= 400 ? status : failedStatus);
}

// The results describe the final response only, so each hop starts afresh.
void THttpCli::redirect(const std::string& location) {
    if (++redirections_ > maxRedirections)
        return fail("too many redirections");
    const UrlParts next = redirectedUrl(currentUrl_, location);
    currentAddress_ = absoluteAddress(next);
    detachSocket();
    socket_.release()->deleteLater();
    response_ = {};
    startHop(next);
}

void THttpCli::serverClosed() {
    if (response_.header.empty())
        fail("connection closed without a response");
    else
        end();
}

void THttpCli::socketFailed(QAbstractSocket::SocketError error) {
    if (!certificateErrors_.isEmpty())
        return certificateNotTrusted();
    if (error == QAbstractSocket::RemoteHostClosedError && readingLines())
        return serverClosed();
    const std::string text = socket_->errorString().toStdString() + " (Error #" +
                             std::to_string(static_cast<int>(error)) + ")";
    if (state_ == State::DnsLookupDone)
        return fail("can't connect: " + text);
    fail(state_ == State::TlsHandshake ? "TLS handshake failed: " + text : text);
}

void THttpCli::certificateNotTrusted() {
    const std::string reason = tlsFailureReason(certificateErrors_);
    if (untrustedServer_)
        untrustedServer_(serverName(currentUrl_), reason);
    fail("can't verify the server's certificate: " + reason);
}

void THttpCli::fail(const std::string& reason, int status) {
    response_.status = status;
    response_.reason = reason;
    end();
}

void THttpCli::end() {
    detachSocket();
    deadline_.stop();
    cancelPoll_.stop();
    state_ = State::Ready;
    if (wait_)
        wait_->quit();
    // Queued, so that it runs outside the socket's notifications and may
    // start the next request (which replaces the socket) or end the client.
    if (finished_)
        QMetaObject::invokeMethod(this, std::exchange(finished_, {}), Qt::QueuedConnection);
}

// Stops the connection and its notifications; the socket object itself is
// freed outside its own signal handlers.
void THttpCli::detachSocket() {
    if (!socket_)
        return;
    socket_->disconnect(this);
    socket_->abort();
}

} // namespace statvane
