#pragma once

#include "net/http/http_cli.h"
#include "peers/scripted_server.h"

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace statvane::test {

// Host names for the client under test, answered without any DNS server:
// "pages.test", "other.test" and "localhost" are 127.0.0.1, "silent.test"
// never answers, every other name does not resolve. Answers come from the
// event loop.
class LoopbackNames {
  public:
    HostLookup lookup();
    const QStringList& asked() const { return asked_; }

  private:
    QStringList asked_;
};

// Keeps the messages Qt logs while it lives, such as the one Qt gives when
// an exception goes through its event loop.
class QtMessages {
  public:
    QtMessages();
    ~QtMessages();
    QtMessages(const QtMessages&) = delete;
    QtMessages& operator=(const QtMessages&) = delete;

    const QStringList& logged() const { return logged_; }

  private:
    static void keep(QtMsgType type, const QMessageLogContext& context, const QString& text);

    QStringList logged_;
    QtMessageHandler previous_;
};

// Runs RequestHead(); the exception it raised, if any.
std::optional<EHttpException> requestHead(THttpCli& client);

// Answers each request, once its empty line has come, with `reply` and
// closes the connection.
ScriptedServer::Script replyWith(QByteArray reply);

// Answers each request with a status line and then 4 KiB header lines
// without end, for as long as the connection stays open.
ScriptedServer::Script endlessHeader();

// "http://127.0.0.1:" port path
std::string localUrl(quint16 port, const std::string& path = "/");

// How long a scripted server waits before it answers a request for a path.
using ReplyDelay = std::function<std::chrono::milliseconds(const QByteArray& path)>;

// Answers each request with the reply named by its request line's path
// (the second word), after the delay for that path (none when not given),
// and closes the connection.
ScriptedServer::Script replyByPath(std::map<QByteArray, QByteArray> replies, ReplyDelay delay = {});

} // namespace statvane::test
