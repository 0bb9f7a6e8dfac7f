#include "smtp_test_support.h"

#include <QEventLoop>
#include <QTimer>

namespace statvane::test {

bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    if (done())
        return true;
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    guard.start(timeoutMs);
    poll.start(1);
    loop.exec();
    return done();
}

FakeSmtpServer::FakeSmtpServer(std::map<QByteArray, QByteArray> replies, QByteArray greeting)
    : replies_(std::move(replies)), greeting_(std::move(greeting)),
      server_([this](QTcpSocket& connection, ScriptedServer&) {
          ScriptedServer::onLines(connection, [this, &connection](const QByteArray& line) {
              onLine(connection, line);
          });
          connection_ = &connection;
          connection.write(greeting_);
      }) {}

void FakeSmtpServer::send(const QByteArray& bytes) {
    if (connection_)
        connection_->write(bytes);
}

void FakeSmtpServer::onLine(QTcpSocket& connection, const QByteArray& line) {
    if (inMessage_ && line != ".") {
        messageLines_.push_back(line);
        return;
    }
    if (inMessage_) {
        inMessage_ = false;
        messageEnded_ = true;
    } else {
        commands_.push_back(line);
    }
    const QByteArray reply = replyTo(line);
    inMessage_ = line == "DATA" && reply.startsWith("354");
    answer(connection, reply);
    if (line == "QUIT")
        connection.disconnectFromHost();
}

QByteArray FakeSmtpServer::replyTo(const QByteArray& line) const {
    static const std::map<QByteArray, QByteArray> defaults = {
        {"HELO", "250 fake.test"}, {"MAIL", "250 sender ok"}, {"RCPT", "250 recipient ok"},
        {"DATA", "354 go ahead"},  {".", "250 queued"},       {"QUIT", "221 bye"}};
    if (const auto exact = replies_.find(line); exact != replies_.end())
        return exact->second;
    const qsizetype space = line.indexOf(' ');
    const QByteArray verb = space < 0 ? line : line.left(space);
    if (const auto byVerb = replies_.find(verb); byVerb != replies_.end())
        return byVerb->second;
    const auto fallback = defaults.find(verb);
    return fallback != defaults.end() ? fallback->second : QByteArray("500 unknown command");
}

void FakeSmtpServer::answer(QTcpSocket& connection, const QByteArray& reply) {
    if (reply == dropReply)
        connection.abort();
    else if (!reply.isEmpty())
        connection.write(reply + "\r\n");
}

CompletionLog::CompletionLog(TCustomSmtpClient& client) {
    client.OnRequestDone = [this](TSmtpRequest request, std::uint16_t error) {
        items_.push_back({request, error});
    };
}

bool CompletionLog::waitForCount(std::size_t count) {
    return waitFor([&] { return items_.size() >= count; });
}

MailDialogue::MailDialogue(TSmtpCli& client) : client_(client) {
    client_.OnRequestDone = [this](TSmtpRequest request, std::uint16_t error) {
        onDone(request, error);
    };
}

bool MailDialogue::run() {
    client_.Connect();
    return waitFor([&] { return ended_; });
}

void MailDialogue::onDone(TSmtpRequest request, int error) {
    completions.push_back({request, error});
    try {
        switch (request) {
        case smtpConnect:
            connectLastResponse = client_.LastResponse();
            if (signInFailed())
                client_.Quit();
            else if (client_.Security != smtpNoSecurity || !client_.UserName.empty())
                client_.SignIn();
            else
                client_.Helo();
            break;
        case smtpSignIn:
            if (signInFailed())
                client_.Quit();
            else
                client_.Mail();
            break;
        case smtpHelo:
            client_.Mail();
            break;
        case smtpMail:
            mailErrorMessage = client_.ErrorMessage();
            client_.Quit();
            break;
        default:
            ended_ = true;
            break;
        }
    } catch (const Error& failure) {
        refusal = failure.what();
        ended_ = true;
    }
}

bool MailDialogue::signInFailed() {
    signInFailure = client_.SignInFailure();
    signInFailureReason = client_.SignInFailureReason();
    return signInFailure != TSmtpSignInFailure::none;
}

void pointAt(TCustomSmtpClient& client, quint16 port) {
    client.Host = "127.0.0.1";
    client.Port = std::to_string(port);
}

} // namespace statvane::test
