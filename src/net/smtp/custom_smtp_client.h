#pragma once

#include "net/smtp/mail_date.h"
#include "net/smtp/message_id.h"
#include "net/smtp/reply_line_buffer.h"
#include "net/smtp/smtp_types.h"

#include <QAbstractSocket>
#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QHostAddress;
class QHostInfo;
class QSslSocket;

namespace statvane {

// An asynchronous SMTP client for one server on one thread. Every request
// returns at once; its outcome arrives later through OnRequestDone, posted to
// the event loop, exactly once per started request. Misuse raises
// SmtpException from the call itself and starts nothing. Text is bytes.
class TCustomSmtpClient : public QObject {
  public:
    explicit TCustomSmtpClient(QObject* parent = nullptr);
    ~TCustomSmtpClient() override;

    std::string Host;
    std::string Port = "smtp"; // a port number or a TCP service name
    std::string SignOn;        // the HELO argument; empty: the local host name
    std::string FromName;
    std::vector<std::string> RcptName;
    std::string HdrFrom;
    std::string HdrTo;
    std::string HdrReplyTo;    // its header line is left out when blank
    std::string HdrReturnPath; // likewise
    std::string HdrSubject;
    std::string CharSet = "iso-8859-1";
    TSmtpContentType ContentType = smtpPlainText;
    int Tag = 0;
    // TLS from the first byte or by STARTTLS; the certificate and the host
    // name are verified against the trusted authorities.
    TSmtpSecurity Security = smtpNoSecurity;
    // Given a user name, SignIn logs in with AUTH PLAIN or LOGIN. Neither the
    // password nor the line that carries it is ever shown.
    std::string UserName;
    std::string Password;

    TSmtpState State() const { return state_; }
    bool Connected() const { return connected_; }
    int ReplyCode() const { return replyCode_; }
    // The last reply line received, or the text of a socket error.
    const std::string& LastResponse() const { return lastResponse_; }
    // The first failing reply line of the request.
    const std::string& ErrorMessage() const { return errorMessage_; }
    // Why the last Connect or SignIn could not set up the session it was
    // asked for, and in a few words the detail: the TLS failure or the
    // server's reply.
    TSmtpSignInFailure SignInFailure() const { return signInFailure_; }
    const std::string& SignInFailureReason() const { return signInFailureReason_; }

    // The source of the Date line and the multipart boundary.
    void setClock(MailClock clock) { clock_ = std::move(clock); }
    // The source of the unique part of the Message-ID line.
    void setMessageIdSource(MessageIdSource source) { messageIdSource_ = std::move(source); }

    // Error 0 is success; otherwise the server's reply code, a Windows Sockets
    // error number, or 10004 when the connection closed under the request.
    std::function<void(TSmtpRequest rqType, std::uint16_t error)> OnRequestDone;
    std::function<void(const std::string& msg)> OnDisplay;
    std::function<void(const std::string& command)> OnCommand;
    std::function<void(const std::string& line)> OnResponse;
    std::function<void()> OnStateChange;
    // Supplies the text part line by line (numbers from 1); clearing `more`
    // ends it, and that call's line is not sent.
    std::function<void(int lineNum, std::string& msgLine, int maxLen, bool& more)> OnGetData;
    std::function<void(std::string& line)> OnHeaderLine;
    std::function<void(std::vector<std::string>& hdrLines)> OnProcessHeader;
    std::function<void()> OnSessionConnected;
    std::function<void()> OnSessionClosed;

    void Connect();
    void Helo();
    // EHLO; with smtpStartTls the upgrade and EHLO again; with a UserName the
    // login. A failure that SignInFailure names ends it; when STARTTLS cannot
    // be had the connection is dropped, so that nothing more goes in clear.
    void SignIn();
    void MailFrom();
    void RcptTo();
    virtual void Data();
    void Quit();
    // MailFrom, RcptTo and Data as one request.
    void Mail();
    // Drops the connection at once; the request under way completes with 10004.
    void Abort();

    static constexpr int maxBodyLineLength = 1023;
    static constexpr std::uint16_t connectionClosedError = 10004;

  protected:
    // The next line of the message body; false when the body has ended. The
    // base gives the text part from OnGetData.
    virtual bool produceBodyLine(std::string& line);
    // Sees each header line before it is sent.
    virtual void passHeaderLine(std::string& line);
    // The message text stops being sent (sent whole, refused or dropped).
    virtual void stopMessage();
    // Gives up a message that cannot be produced: the connection is dropped so
    // that the server never delivers it, and the request completes with 10004.
    void abandonMessage(const std::string& reason);

    void requireReady() const;
    void requireConnected() const;
    std::string contentTypeLine() const;
    const MailClock& clock() const { return clock_; }

  private:
    enum class Continuation {
        none,
        nextRecipient,
        messageText,
        ehlo,
        startTls,
        loginUserName,
        loginPassword,
        loggedIn,
    };

    bool compoundUnderway() const;
    void startRequest(TSmtpRequest request);
    void sendCommand(const std::string& command, std::vector<int> acceptedCodes,
                     Continuation continuation);
    // Sends a command that carries credentials; only `shown` is displayed.
    void sendSecret(const std::string& command, const std::string& shown,
                    std::vector<int> acceptedCodes, Continuation continuation);
    std::string signOnName() const;
    void finishRequest(int error);
    void startNextPendingStep();
    void runStep(TSmtpRequest step);
    void failStep(const std::string& reason);
    void setState(TSmtpState state);
    void display(const std::string& text);
    void setErrorMessage(const std::string& line);

    void lookUpHost();
    void onLookupDone(const QHostInfo& info);
    void connectTo(const QHostAddress& address);
    void onConnected();
    void startSession();
    void startEncryption();
    void onEncrypted();
    void noteHandshakeFailure();
    void onSocketError(QAbstractSocket::SocketError error);
    void onDisconnected();
    void onReadyRead();
    void failConnection(int number, const std::string& response);
    void connectionEnded();
    void dropConnection();
    void releaseSocket();

    void handleLine(const std::string& line);
    void handleGreeting(const std::string& line);
    void handleReply(const std::string& line);
    int judgeReply(const std::string& line);
    void sendRecipient();

    void continueSignIn(int result, const std::string& line);
    void continueLogin(int result, const std::string& line);
    void sendEhlo();
    void afterEhlo(int result);
    void upgradeToTls();
    void logIn(const std::vector<std::string>& mechanisms);
    void failSignIn(TSmtpSignInFailure failure, int error, const std::string& reason);

    void startMessage();
    std::vector<std::string> headerLines() const;
    void pumpMessage();
    bool nextMessageLine(std::string& line);
    void endMessage();

    TSmtpState state_ = smtpReady;
    bool connected_ = false;
    TSmtpRequest request_ = smtpConnect;
    bool done_ = true;
    int replyCode_ = 0;
    std::string lastResponse_;
    std::string errorMessage_;
    std::vector<int> acceptedCodes_;
    Continuation continuation_ = Continuation::none;
    std::vector<TSmtpRequest> pendingSteps_;
    std::vector<std::string> recipients_;
    std::size_t recipientIndex_ = 0;

    std::vector<std::string> replyLines_; // of the reply under way

    std::string signOnName_;
    TSmtpSignInFailure signInFailure_ = TSmtpSignInFailure::none;
    std::string signInFailureReason_;

    QSslSocket* socket_ = nullptr;
    bool handshaking_ = false;
    bool tlsUp_ = false;
    std::string certificateErrors_; // of the handshake under way
    std::uint16_t port_ = 0;
    unsigned lookupGeneration_ = 0;
    ReplyLineBuffer receiveBuffer_;

    std::vector<std::string> headerLines_;
    std::size_t nextHeaderLine_ = 0;
    int bodyLineNumber_ = 0;
    bool sendingMessage_ = false;

    MailClock clock_ = currentLocalDateTime;
    MessageIdSource messageIdSource_ = uniqueMessagePart;
};

} // namespace statvane
