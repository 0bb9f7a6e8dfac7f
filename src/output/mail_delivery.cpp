#include "output/mail_delivery.h"

#include "net/smtp/smtp_text.h"
#include "output/mail_time_limit.h"
#include "output/recipients.h"
#include "output/sign_in_failure_message.h"
#include "platform/error.h"
#include "settings/mail_security.h"

#include <QCoreApplication>

namespace statvane {
namespace {

constexpr int kQuitWaitMs = 5000;

TSmtpSecurity clientSecurity(MailSecurityMode mode) {
    switch (mode) {
    case MailSecurityMode::StartTls:
        return smtpStartTls;
    case MailSecurityMode::Tls:
        return smtpTls;
    case MailSecurityMode::None:
        break;
    }
    return smtpNoSecurity;
}

// The submission ports: 587 is upgraded by STARTTLS, 465 speaks TLS at once.
std::string defaultPort(TSmtpSecurity security) {
    switch (security) {
    case smtpStartTls:
        return "587";
    case smtpTls:
        return "465";
    case smtpNoSecurity:
        break;
    }
    return "smtp";
}

// "host:port" in the server setting names a port other than the default one
// of the security.
void setServer(TSmtpCli& client, const std::string& server) {
    const auto colon = server.rfind(':');
    const bool hasPort = colon != std::string::npos && colon + 1 < server.size() &&
                         server.find_first_not_of("0123456789", colon + 1) == std::string::npos &&
                         server.find(':') == colon;
    client.Host = hasPort ? server.substr(0, colon) : server;
    client.Port = hasPort ? server.substr(colon + 1) : defaultPort(client.Security);
}

} // namespace

MailDelivery::MailDelivery(TSmtpCli& client, Prompt& prompt, std::function<bool()> connected)
    : client_(client), prompt_(prompt), connected_(std::move(connected)) {
    client_.OnRequestDone = [this](TSmtpRequest rqType, std::uint16_t error) {
        SmtpCli1RequestDone(rqType, error);
    };
    client_.OnSessionClosed = [this] {
        if (quitWait_.isActive())
            finish(outcome_);
    };
    quitWait_.setSingleShot(true);
    quitWait_.setInterval(kQuitWaitMs);
    QObject::connect(&quitWait_, &QTimer::timeout, &client_, [this] {
        client_.Abort();
        finish(outcome_);
    });
    deadline_.setSingleShot(true);
    QObject::connect(&deadline_, &QTimer::timeout, &client_, [this] {
        timedOut_ = true;
        abort();
    });
}

bool MailDelivery::mailReport(const Settings& settings, const std::filesystem::path& file,
                              const std::string& addresses) {
    if (busy_) {
        prompt_.showMessage(kMailBusyMessage, MessageIcon::Warning);
        return false;
    }
    const std::optional<MailSecurityMode> security = mailSecurityMode(settings.MailSecurity);
    if (!security) {
        prompt_.showMessage(kUnknownMailSecurityMessage + settings.MailSecurity,
                            MessageIcon::Warning);
        return false;
    }
    if (!connected_()) {
        prompt_.showMessage(kNotConnectedMessage, MessageIcon::Warning);
        return false;
    }
    if (isBlank(settings.MailServer)) {
        prompt_.showMessage(kNoMailServerMessage, MessageIcon::Warning);
        return false;
    }
    client_.Security = clientSecurity(*security);
    client_.UserName = settings.MailUserName;
    client_.Password = settings.MailPassword;
    signIn_ = client_.Security != smtpNoSecurity || !client_.UserName.empty();
    client_.FromName = settings.MailSender;
    client_.HdrFrom = settings.MailSender;
    client_.HdrReplyTo = settings.MailReplyTo;
    client_.HdrSubject = settings.MailSubject;
    setServer(client_, settings.MailServer);
    client_.RcptName = splitRecipients(addresses);
    client_.HdrTo = recipientsHeader(client_.RcptName);
    client_.EmailFiles = {file.string()};
    client_.Connect();
    busy_ = true;
    timedOut_ = false;
    outcome_ = Outcome::Refused;
    refusal_.reset();
    failure_.reset();
    deadline_.start(mailTimeLimitMs());
    return true;
}

void MailDelivery::abort() {
    if (!busy_)
        return;
    // The server's answer to the message may have arrived and its completion
    // still wait in the event queue: it counts.
    QCoreApplication::sendPostedEvents(&client_, QEvent::MetaCall);
    client_.Abort();
    finish(outcome_);
}

// Completions that arrive after the delivery has ended (of a request that
// an abort dropped) are left alone.
void MailDelivery::SmtpCli1RequestDone(TSmtpRequest rqType, std::uint16_t error) {
    if (!busy_)
        return;
    switch (rqType) {
    case smtpConnect:
        if (!signInFailed())
            startStep(signIn_ ? &TSmtpCli::SignIn : &TSmtpCli::Helo);
        break;
    case smtpHelo:
        startStep(&TSmtpCli::Mail);
        break;
    case smtpSignIn:
        if (!signInFailed())
            startStep(&TSmtpCli::Mail);
        break;
    case smtpMail:
        outcome_ = error == 0 ? Outcome::Accepted : Outcome::Refused;
        if (error != 0)
            refusal_ = client_.LastResponse();
        quit();
        break;
    case smtpQuit:
        quitEnded();
        break;
    default:
        break;
    }
}

void MailDelivery::startStep(void (TSmtpCli::*step)()) {
    try {
        (client_.*step)();
    } catch (const Error&) {
        failure_ = kMailErrorMessage;
        finish(Outcome::Refused);
    }
}

// A TLS connection that failed at once, or a sign-in the client could not
// complete, ends the delivery; QUIT follows when the connection is still
// there.
bool MailDelivery::signInFailed() {
    const TSmtpSignInFailure failure = client_.SignInFailure();
    if (failure == TSmtpSignInFailure::none)
        return false;
    failure_ = signInFailureMessage(failure, client_.SignInFailureReason());
    quit();
    return true;
}

void MailDelivery::quit() {
    quitWait_.start();
    startStep(&TSmtpCli::Quit);
}

// The server has answered QUIT (or the client was no longer connected):
// nothing more is to come, so the delivery ends now. A server may wait for
// the client to close first, as one that ends a TLS session does, so the
// connection is dropped from this side.
void MailDelivery::quitEnded() {
    client_.Abort();
    finish(outcome_);
}

void MailDelivery::finish(Outcome outcome) {
    if (!busy_)
        return;
    busy_ = false;
    quitWait_.stop();
    deadline_.stop();
    // A request dropped by an abort completes through the event queue: that
    // completion is taken now, while the delivery has ended, so that it can
    // never reach the next one.
    QCoreApplication::sendPostedEvents(&client_, QEvent::MetaCall);
    if (onFinished)
        onFinished(outcome);
}

} // namespace statvane
