#include "net/http/http_cli.h"

#include "net/http/http_request.h"
#include "net/http/http_route.h"

#include <QEventLoop>
#include <QPointer>
#include <algorithm>
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

} // namespace

THttpCli::THttpCli() {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] { fail("request timed out"); });
    cancelPoll_.setInterval(cancelPollMs);
    connect(&cancelPoll_, &QTimer::timeout, this, [this] {
        if (cancelCheck_ && cancelCheck_())
            Abort();
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
    if (response_.status >= 400)
        throw EHttpException(response_.reason, response_.status);
}

void THttpCli::StartHead(std::function<void()> finished) {
    if (state_ != State::Ready)
        throw EHttpException("HTTP component is busy", 0);
    finished_ = std::move(finished);
    response_ = {};
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
    const HttpRoute route = routeFor(url, proxy_, proxyPort_);
    if (route.port.empty())
        return fail("can't connect: no port given for the proxy");
    const auto port = portNumber(route.port);
    if (!port)
        return fail("can't connect: invalid port " + route.port);
    port_ = *port;
    requestText_ = requestText(headRequest(url, route.path));
    lookUp(route.host);
}

HeadRequest THttpCli::headRequest(const UrlParts& url, const std::string& path) const {
    HeadRequest request;
    request.path = path;
    request.host = url.host;
    request.sender = sender_;
    request.accept = accept_;
    request.reference = reference_;
    request.agent = agent_;
    request.noCache = noCache_;
    request.modifiedSince = modifiedSince_;
    request.user = url.user;
    request.password = url.password;
    if (!proxy_.empty()) {
        request.proxyUser = proxyUsername_;
        request.proxyPassword = proxyPassword_;
    }
    request.cookie = cookie_;
    return request;
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
            if (addresses.isEmpty())
                self->fail(cantResolve);
            else
                self->connectTo(addresses.first());
        });
}

void THttpCli::connectTo(const QHostAddress& address) {
    state_ = State::DnsLookupDone;
    socket_ = std::make_unique<QTcpSocket>();
    connect(socket_.get(), &QTcpSocket::connected, this, &THttpCli::sendRequest);
    connect(socket_.get(), &QTcpSocket::readyRead, this, &THttpCli::readHeader);
    connect(socket_.get(), &QTcpSocket::disconnected, this, &THttpCli::serverClosed);
    connect(socket_.get(), &QTcpSocket::errorOccurred, this, &THttpCli::socketFailed);
    socket_->connectToHost(address, port_);
}

void THttpCli::sendRequest() {
    state_ = State::WaitingForHeader;
    socket_->write(requestText_.data(), static_cast<qint64>(requestText_.size()));
}

void THttpCli::readHeader() {
    const QByteArray bytes = socket_->readAll();
    reader_.append({bytes.constData(), static_cast<std::size_t>(bytes.size())});
    const auto hop = hop_;
    while (hop == hop_ && state_ == State::WaitingForHeader) {
        const auto line = reader_.nextLine();
        if (!line)
            break;
        takeLine(*line);
    }
    if (hop == hop_ && state_ == State::WaitingForHeader && reader_.lineTooLong())
        fail("HTTP line too long");
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
    if (error == QAbstractSocket::RemoteHostClosedError && state_ == State::WaitingForHeader)
        return serverClosed();
    const std::string text = socket_->errorString().toStdString() + " (Error #" +
                             std::to_string(static_cast<int>(error)) + ")";
    fail(state_ == State::DnsLookupDone ? "can't connect: " + text : text);
}

void THttpCli::fail(const std::string& reason) {
    response_.status = 404;
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
