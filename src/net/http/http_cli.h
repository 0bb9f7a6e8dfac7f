#pragma once

#include "net/http/host_lookup.h"
#include "net/http/http_exception.h"
#include "net/http/http_line_reader.h"
#include "net/http/http_request.h"
#include "net/http/http_response.h"
#include "net/http/http_route.h"
#include "net/http/http_tunnel.h"
#include "net/http/url_parts.h"

#include <QObject>
#include <QSslError>
#include <QTcpSocket>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QEventLoop;

namespace statvane {

// HTTP/1.0 client for HEAD requests, directly or through a proxy with Basic
// authorisation, following redirections. An https address is asked over TLS,
// through a proxy in a CONNECT tunnel; the server's certificate and name are
// always verified (see tls_trust.h). RequestHead() runs the request on
// the calling thread's event loop and returns when it has ended, so other
// events (a Cancel button, repaints) are handled meanwhile; StartHead() runs
// it without waiting. One request at a time; the client can be used for any
// number of requests in a row.
class THttpCli : public QObject {
  public:
    static constexpr int defaultTimeoutMs = 30000;
    static constexpr int maxRedirections = 20;
    // The status of a request that did not reach the server or was given up.
    static constexpr int failedStatus = 404;

    THttpCli();
    ~THttpCli() override;
    THttpCli(const THttpCli&) = delete;
    THttpCli& operator=(const THttpCli&) = delete;

    // Settings, read when a request starts.
    const std::string& URL() const { return url_; }
    void setURL(std::string url) { url_ = std::move(url); }
    // Proxy host, optionally with ":" port; empty for a direct connection.
    const std::string& Proxy() const { return proxy_; }
    void setProxy(std::string proxy) { proxy_ = std::move(proxy); }
    // The proxy's port when Proxy names none.
    const std::string& ProxyPort() const { return proxyPort_; }
    void setProxyPort(std::string port) { proxyPort_ = std::move(port); }
    const std::string& ProxyUsername() const { return proxyUsername_; }
    void setProxyUsername(std::string user) { proxyUsername_ = std::move(user); }
    const std::string& ProxyPassword() const { return proxyPassword_; }
    void setProxyPassword(std::string password) { proxyPassword_ = std::move(password); }
    const std::string& Agent() const { return agent_; }
    void setAgent(std::string agent) { agent_ = std::move(agent); }
    const std::string& Accept() const { return accept_; }
    void setAccept(std::string accept) { accept_ = std::move(accept); }
    bool NoCache() const { return noCache_; }
    void setNoCache(bool noCache) { noCache_ = noCache; }
    const std::string& Sender() const { return sender_; }
    void setSender(std::string sender) { sender_ = std::move(sender); }
    const std::string& Reference() const { return reference_; }
    void setReference(std::string reference) { reference_ = std::move(reference); }
    const std::string& Cookie() const { return cookie_; }
    void setCookie(std::string cookie) { cookie_ = std::move(cookie); }
    const std::optional<std::chrono::sys_seconds>& ModifiedSince() const { return modifiedSince_; }
    void setModifiedSince(std::optional<std::chrono::sys_seconds> moment) {
        modifiedSince_ = moment;
    }
    // The longest a whole request, redirections included, may take.
    int TimeoutMs() const { return timeoutMs_; }
    void setTimeoutMs(int timeoutMs) { timeoutMs_ = timeoutMs; }
    // Asked a few times a second while a request runs; true cancels it.
    void setCancelCheck(std::function<bool()> check) { cancelCheck_ = std::move(check); }
    // Told when a secure server's certificate is not trusted: the server (its
    // host, with the port when the address names one) and why, in one line.
    using UntrustedServerHandler =
        std::function<void(const std::string& server, const std::string& reason)>;
    void setUntrustedServerHandler(UntrustedServerHandler handler) {
        untrustedServer_ = std::move(handler);
    }
    // Replaces the system's host-name look-up; an empty one restores it.
    void setHostLookup(HostLookup lookup) {
        hostLookup_ = lookup ? std::move(lookup) : systemHostLookup;
    }

    // Sends one HEAD request for URL and waits, running pending events, until
    // it has ended. Raises EHttpException when ResponseStatus is 400 or more
    // (404 stands for a server that was not reached, or a request the client
    // gave up), and with status 0 when a request is already running; raises
    // std::bad_alloc when memory ran out while the request was handled.
    void RequestHead();
    // Starts one HEAD request for URL and returns at once. `finished` is
    // called from the event loop once the request has ended, with the
    // results set (a ResponseStatus of 400 or more is a failed request, and
    // OutOfMemory() tells a request that memory ran out for); it may start
    // the next request, and must not raise. Raises EHttpException with
    // status 0 when a request is already running.
    void StartHead(std::function<void()> finished);
    // Ends the running request as cancelled; nothing when none runs.
    void Abort();

    // Results, valid once RequestHead() has returned or raised, or in the
    // `finished` call of StartHead().
    int ResponseStatus() const { return response_.status; }
    const std::string& ResponseReason() const { return response_.reason; }
    // Content-Length, -1 when the response gave none.
    std::int64_t ResponseLength() const { return response_.length; }
    // Content-Type, in lower case.
    const std::string& ResponseType() const { return response_.type; }
    // Every header line, status line first, without line ends.
    const std::vector<std::string>& ResponseHeader() const { return response_.header; }
    // The address finally requested, after redirections.
    const std::string& CurrentAddress() const { return currentAddress_; }
    // Whether the request ended because memory ran out while it was handled
    // (ResponseStatus is then 404). A notification of the socket, a timer or
    // the host-name look-up never lets std::bad_alloc through the event
    // loop: the request ends, and the waiting code raises it again.
    bool OutOfMemory() const { return outOfMemory_; }

  private:
    enum class State {
        Ready,
        NotConnected,
        DnsLookup,
        DnsLookupDone,
        WaitingForTunnel,
        TlsHandshake,
        WaitingForHeader
    };

    // The work of a notification, with running out of memory caught.
    template <typename Work> void guarded(Work&& work);
    // A member function as such a notification.
    template <typename... Args> auto guardedSlot(void (THttpCli::*slot)(Args...));
    void ranOutOfMemory();

    void startHop(const UrlParts& url);
    HeadRequest headRequest(const UrlParts& url, const HttpRoute& route) const;
    std::string tunnelText(const HttpRoute& route) const;
    void lookUp(const std::string& host);
    void connectTo(const QHostAddress& address);
    std::unique_ptr<QTcpSocket> secureSocket();
    void connected();
    void startTls();
    void sendRequest();
    void readReceived();
    bool readingLines() const;
    void takeLine(const std::string& line);
    void takeTunnelLine(const std::string& line);
    void tunnelRefused();
    void redirect(const std::string& location);
    void serverClosed();
    void socketFailed(QAbstractSocket::SocketError error);
    void keepCertificateErrors(const QList<QSslError>& errors);
    void certificateNotTrusted();
    void fail(const std::string& reason, int status = failedStatus);
    void end();
    void detachSocket();

    std::string url_;
    std::string proxy_;
    std::string proxyPort_ = "80";
    std::string proxyUsername_;
    std::string proxyPassword_;
    std::string agent_ = "Statvane 1.0";
    std::string accept_ = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
    bool noCache_ = false;
    std::string sender_;
    std::string reference_;
    std::string cookie_;
    std::optional<std::chrono::sys_seconds> modifiedSince_;
    int timeoutMs_ = defaultTimeoutMs;
    std::function<bool()> cancelCheck_;
    UntrustedServerHandler untrustedServer_;
    HostLookup hostLookup_ = systemHostLookup;
    std::function<void()> finished_;

    State state_ = State::Ready;
    // Counts connections, so that a late look-up result or socket signal of
    // an earlier one is recognised and ignored.
    std::uint64_t hop_ = 0;
    int redirections_ = 0;
    UrlParts currentUrl_;
    std::uint16_t port_ = 0;
    bool secure_ = false;
    std::string tunnelText_;
    TunnelReply tunnelReply_;
    QList<QSslError> certificateErrors_;
    std::string requestText_;
    std::unique_ptr<QTcpSocket> socket_;
    HttpLineReader reader_;
    HttpResponse response_;
    std::string currentAddress_;
    QTimer deadline_;
    QTimer cancelPoll_;
    QEventLoop* wait_ = nullptr;
    bool outOfMemory_ = false;
};

} // namespace statvane
