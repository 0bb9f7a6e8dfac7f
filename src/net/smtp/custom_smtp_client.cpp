#include "net/smtp/custom_smtp_client.h"

#include "net/smtp/reply_code.h"
#include "net/smtp/service_port.h"
#include "net/smtp/smtp_text.h"
#include "platform/one_line_text.h"

#include <QHostInfo>
#include <QMetaObject>
#include <QSslSocket>
#include <algorithm>

namespace statvane {
namespace {

// The error a refused reply reports. A reply without a usable number must
// not read as success (0), nor be cut to 16 bits.
int failureCode(int replyCode) {
    return replyCode >= 1 && replyCode <= 65535 ? replyCode : 500;
}

} // namespace

TCustomSmtpClient::TCustomSmtpClient(QObject* parent) : QObject(parent) {}

TCustomSmtpClient::~TCustomSmtpClient() {
    releaseSocket();
}

void TCustomSmtpClient::Connect() {
    requireReady();
    if (connected_)
        throw SmtpException("SMTP component already connected");
    if (Host.empty())
        throw Error("DNS lookup: invalid host name.");
    const std::optional<std::uint16_t> port = servicePort(Port);
    if (!port)
        throw Error("Cannot resolve port '" + Port + "'");
    startRequest(smtpConnect);
    done_ = false;
    signInFailure_ = TSmtpSignInFailure::none;
    signInFailureReason_.clear();
    port_ = *port;
    receiveBuffer_.clear();
    setState(smtpDnsLookup);
    lookUpHost();
}

void TCustomSmtpClient::Helo() {
    requireReady();
    requireConnected();
    const std::string name = signOnName();
    startRequest(smtpHelo);
    sendCommand("HELO " + name, {250}, Continuation::none);
}

void TCustomSmtpClient::MailFrom() {
    requireReady();
    requireConnected();
    startRequest(smtpMailFrom);
    sendCommand("MAIL FROM:<" + oneLineText(std::string(trimControls(FromName))) + ">", {250},
                Continuation::none);
}

void TCustomSmtpClient::RcptTo() {
    requireReady();
    requireConnected();
    if (RcptName.empty())
        throw SmtpException("RcptName list is empty");
    startRequest(smtpRcptTo);
    recipients_ = RcptName;
    recipientIndex_ = 0;
    sendRecipient();
}

void TCustomSmtpClient::Data() {
    requireReady();
    requireConnected();
    startRequest(smtpData);
    sendCommand("DATA", {354}, Continuation::messageText);
}

void TCustomSmtpClient::Quit() {
    requireReady();
    startRequest(smtpQuit);
    if (!connected_) {
        done_ = false;
        finishRequest(0);
        return;
    }
    sendCommand("QUIT", {221}, Continuation::none);
}

void TCustomSmtpClient::Mail() {
    requireReady();
    requireConnected();
    // Checked here as well as in the step, so that the caller hears of it.
    if (RcptName.empty())
        throw SmtpException("RcptName list is empty");
    request_ = smtpMail;
    done_ = false;
    lastResponse_.clear();
    errorMessage_.clear();
    pendingSteps_ = {smtpMailFrom, smtpRcptTo, smtpData};
    startNextPendingStep();
}

void TCustomSmtpClient::Abort() {
    ++lookupGeneration_;
    setState(smtpAbort);
    connectionEnded();
    setState(smtpReady);
}

// SignOn, or the local host name when it is empty.
std::string TCustomSmtpClient::signOnName() const {
    if (!SignOn.empty())
        return SignOn;
    const std::string name = QHostInfo::localHostName().toLatin1().toStdString();
    if (name.empty())
        throw SmtpException("Winsock.GetHostName failed");
    return name;
}

void TCustomSmtpClient::requireReady() const {
    if (state_ != smtpReady && state_ != smtpInternalReady)
        throw SmtpException("SMTP component not ready");
}

void TCustomSmtpClient::requireConnected() const {
    if (!connected_)
        throw SmtpException("SMTP component not connected");
}

bool TCustomSmtpClient::compoundUnderway() const {
    return !done_ && request_ == smtpMail;
}

// A single request takes its own code and starts with no error; a step of a
// compound request runs under the compound's code.
void TCustomSmtpClient::startRequest(TSmtpRequest request) {
    if (compoundUnderway())
        return;
    request_ = request;
    errorMessage_.clear();
}

void TCustomSmtpClient::sendCommand(const std::string& command, std::vector<int> acceptedCodes,
                                    Continuation continuation) {
    sendSecret(command, command, std::move(acceptedCodes), continuation);
}

void TCustomSmtpClient::sendSecret(const std::string& command, const std::string& shown,
                                   std::vector<int> acceptedCodes, Continuation continuation) {
    done_ = false;
    acceptedCodes_ = std::move(acceptedCodes);
    continuation_ = continuation;
    replyLines_.clear();
    setState(smtpWaitingResponse);
    if (OnCommand)
        OnCommand(shown);
    display("> " + shown);
    socket_->write(QByteArray::fromStdString(command + "\r\n"));
}

// Completes the request under way once. A step of a compound request that
// succeeds starts the next step instead; one that fails ends the compound.
void TCustomSmtpClient::finishRequest(int error) {
    if (done_)
        return;
    if (error == 0 && !pendingSteps_.empty()) {
        setState(smtpInternalReady);
        startNextPendingStep();
        return;
    }
    pendingSteps_.clear();
    if (sendingMessage_)
        stopMessage();
    done_ = true;
    setState(smtpReady);
    const auto code = static_cast<std::uint16_t>(error);
    QMetaObject::invokeMethod(
        this,
        [this, request = request_, code] {
            if (OnRequestDone)
                OnRequestDone(request, code);
        },
        Qt::QueuedConnection);
}

void TCustomSmtpClient::startNextPendingStep() {
    const TSmtpRequest step = pendingSteps_.front();
    pendingSteps_.erase(pendingSteps_.begin());
    // A step may refuse to start (for instance when an event handler emptied
    // RcptName); that must end the request, not escape into the event loop.
    try {
        runStep(step);
    } catch (const Error& error) {
        failStep(error.what());
    }
}

void TCustomSmtpClient::runStep(TSmtpRequest step) {
    switch (step) {
    case smtpMailFrom:
        MailFrom();
        break;
    case smtpRcptTo:
        RcptTo();
        break;
    default:
        Data();
        break;
    }
}

void TCustomSmtpClient::failStep(const std::string& reason) {
    lastResponse_ = "500 " + reason;
    replyCode_ = 500;
    setErrorMessage(lastResponse_);
    pendingSteps_.clear();
    finishRequest(500);
}

void TCustomSmtpClient::setState(TSmtpState state) {
    if (state == state_)
        return;
    state_ = state;
    if (OnStateChange)
        OnStateChange();
}

void TCustomSmtpClient::display(const std::string& text) {
    if (OnDisplay)
        OnDisplay(text);
}

void TCustomSmtpClient::setErrorMessage(const std::string& line) {
    if (errorMessage_.empty())
        errorMessage_ = line;
}

void TCustomSmtpClient::handleLine(const std::string& line) {
    lastResponse_ = line;
    if (OnResponse)
        OnResponse(line);
    if (state_ == smtpWaitingBanner)
        handleGreeting(line);
    else if (state_ == smtpWaitingResponse)
        handleReply(line);
    else
        display("< " + line);
}

void TCustomSmtpClient::handleGreeting(const std::string& line) {
    display("< " + line);
    const auto reply = readReplyCode(line);
    replyCode_ = reply.code;
    if (reply.continued)
        return;
    if (reply.code != 220) {
        setErrorMessage(line);
        dropConnection();
        return;
    }
    setState(smtpConnected);
    if (OnSessionConnected)
        OnSessionConnected();
    finishRequest(0);
}

void TCustomSmtpClient::handleReply(const std::string& line) {
    display("< " + line);
    replyLines_.push_back(line);
    const auto reply = readReplyCode(line);
    replyCode_ = reply.code;
    if (reply.continued)
        return;
    const int result = judgeReply(line);
    switch (continuation_) {
    case Continuation::nextRecipient:
        ++recipientIndex_;
        sendRecipient();
        break;
    case Continuation::messageText:
        if (result == 0)
            startMessage();
        else
            finishRequest(result);
        break;
    case Continuation::none:
        finishRequest(result);
        break;
    default:
        continueSignIn(result, line);
        break;
    }
}

int TCustomSmtpClient::judgeReply(const std::string& line) {
    if (std::find(acceptedCodes_.begin(), acceptedCodes_.end(), replyCode_) != acceptedCodes_.end())
        return 0;
    setErrorMessage(line);
    return failureCode(replyCode_);
}

// Every recipient is sent whatever the server said to the one before; the
// reply to the last decides the outcome.
void TCustomSmtpClient::sendRecipient() {
    const bool last = recipientIndex_ + 1 >= recipients_.size();
    const std::string recipient(trimControls(recipients_[recipientIndex_]));
    sendCommand("RCPT TO:<" + recipient + ">", {250, 251},
                last ? Continuation::none : Continuation::nextRecipient);
}

} // namespace statvane
