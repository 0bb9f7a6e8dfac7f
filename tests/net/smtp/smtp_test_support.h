#pragma once

#include "net/smtp/smtp_cli.h"
#include "peers/scripted_server.h"

#include <QByteArray>
#include <QPointer>
#include <QTcpSocket>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

// Readable failure output for byte strings.
inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toStdString() << '"';
}

namespace statvane::test {

// Runs the event loop until `done` holds or the time is up; returns `done`.
bool waitFor(const std::function<bool()>& done, int timeoutMs = 10000);

// An SMTP server on loopback that answers every command with a default reply
// unless `replies` names another for the exact command line or for its verb
// ("MAIL", "RCPT", "DATA", "." for the end of the message). An empty reply is
// never sent (the server hangs); dropReply closes the connection instead.
class FakeSmtpServer {
  public:
    static inline const QByteArray dropReply = "<drop>";

    explicit FakeSmtpServer(std::map<QByteArray, QByteArray> replies = {},
                            QByteArray greeting = "220 fake.test ready\r\n");

    quint16 port() const { return server_.port(); }
    // Command lines received outside the message, in order.
    const std::vector<QByteArray>& commands() const { return commands_; }
    // The message lines between DATA and "." as they came over the wire.
    const std::vector<QByteArray>& messageLines() const { return messageLines_; }
    bool messageEnded() const { return messageEnded_; }
    // Writes to the latest connection.
    void send(const QByteArray& bytes);

  private:
    void onLine(QTcpSocket& connection, const QByteArray& line);
    QByteArray replyTo(const QByteArray& line) const;
    void answer(QTcpSocket& connection, const QByteArray& reply);

    std::map<QByteArray, QByteArray> replies_;
    QByteArray greeting_;
    std::vector<QByteArray> commands_;
    std::vector<QByteArray> messageLines_;
    bool inMessage_ = false;
    bool messageEnded_ = false;
    QPointer<QTcpSocket> connection_;
    ScriptedServer server_;
};

struct Completion {
    TSmtpRequest request;
    int error;
    bool operator==(const Completion&) const = default;
};

inline void PrintTo(const Completion& completion, std::ostream* out) {
    *out << "{" << completion.request << ", " << completion.error << "}";
}

// Records every completion of a client.
class CompletionLog {
  public:
    explicit CompletionLog(TCustomSmtpClient& client);
    const std::vector<Completion>& items() const { return items_; }
    bool waitForCount(std::size_t count);

  private:
    std::vector<Completion> items_;
};

// Drives a whole delivery the way the report mailer does: Connect, then HELO,
// Mail and QUIT, each step started from the completion of the one before
// whatever its outcome. A step that refuses to start ends the dialogue. With
// a security or a user name set, SignIn takes the place of HELO, and a
// sign-in failure skips Mail.
class MailDialogue {
  public:
    explicit MailDialogue(TSmtpCli& client);
    // Starts the dialogue and waits (bounded) for its end; false on time-out.
    bool run();

    std::vector<Completion> completions;
    std::string refusal;             // the text of a step that could not start
    std::string mailErrorMessage;    // ErrorMessage when Mail completed
    std::string connectLastResponse; // LastResponse when Connect completed
    TSmtpSignInFailure signInFailure = TSmtpSignInFailure::none; // after Connect or SignIn
    std::string signInFailureReason;

  private:
    void onDone(TSmtpRequest request, int error);
    // Notes the client's sign-in failure; true when there is one.
    bool signInFailed();

    TSmtpCli& client_;
    bool ended_ = false;
};

void pointAt(TCustomSmtpClient& client, quint16 port);

} // namespace statvane::test
