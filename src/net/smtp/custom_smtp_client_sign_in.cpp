// The sign-in of TCustomSmtpClient: EHLO, the upgrade by STARTTLS and the
// login. A user name and password go only over TLS, unless the user asked for
// no security at all.
#include "net/base64.h"
#include "net/smtp/custom_smtp_client.h"
#include "net/smtp/ehlo_reply.h"
#include "net/smtp/smtp_login.h"

#include <QSslSocket>

namespace statvane {
namespace {

constexpr int kNotOffered = 500;

} // namespace

void TCustomSmtpClient::SignIn() {
    requireReady();
    requireConnected();
    signOnName_ = signOnName();
    startRequest(smtpSignIn);
    signInFailure_ = TSmtpSignInFailure::none;
    signInFailureReason_.clear();
    sendEhlo();
}

void TCustomSmtpClient::sendEhlo() {
    sendCommand("EHLO " + signOnName_, {250}, Continuation::ehlo);
}

void TCustomSmtpClient::continueSignIn(int result, const std::string& line) {
    switch (continuation_) {
    case Continuation::ehlo:
        afterEhlo(result);
        break;
    case Continuation::startTls:
        if (result == 0)
            upgradeToTls();
        else
            failSignIn(TSmtpSignInFailure::secureConnectionFailed, result, line);
        break;
    default:
        continueLogin(result, line);
        break;
    }
}

// AUTH LOGIN asks for the user name and then the password; every login ends
// with 235.
void TCustomSmtpClient::continueLogin(int result, const std::string& line) {
    if (result != 0)
        failSignIn(TSmtpSignInFailure::loginRefused, result, line);
    else if (continuation_ == Continuation::loginUserName)
        sendSecret(base64Encode(UserName), "(user name)", {334}, Continuation::loginPassword);
    else if (continuation_ == Continuation::loginPassword)
        sendSecret(base64Encode(Password), "(password)", {235}, Continuation::loggedIn);
    else
        finishRequest(0);
}

// A refused EHLO offers nothing; what the session needs then decides.
void TCustomSmtpClient::afterEhlo(int result) {
    const EhloExtensions offered = result == 0 ? readEhloReply(replyLines_) : EhloExtensions{};
    if (Security == smtpStartTls && !tlsUp_) {
        if (offered.startTls)
            sendCommand("STARTTLS", {220}, Continuation::startTls);
        else
            failSignIn(TSmtpSignInFailure::startTlsNotOffered, kNotOffered, {});
        return;
    }
    if (!UserName.empty())
        logIn(offered.authMechanisms);
    else
        finishRequest(result);
}

// Whatever came in clear after the server's 220 could have been put there by
// anyone on the way: it is dropped unread. EHLO follows once the handshake
// has succeeded.
void TCustomSmtpClient::upgradeToTls() {
    receiveBuffer_.clear();
    socket_->readAll();
    startEncryption();
}

void TCustomSmtpClient::logIn(const std::vector<std::string>& mechanisms) {
    const std::optional<LoginMechanism> mechanism = chooseLoginMechanism(mechanisms);
    if (!mechanism)
        failSignIn(TSmtpSignInFailure::loginNotOffered, kNotOffered, {});
    else if (*mechanism == LoginMechanism::Plain)
        sendSecret("AUTH PLAIN " + plainLoginResponse(UserName, Password),
                   "AUTH PLAIN (user name and password)", {235}, Continuation::loggedIn);
    else
        sendCommand("AUTH LOGIN", {334}, Continuation::loginUserName);
}

// Without the TLS that was asked for, the connection is dropped: nothing more
// may go in clear. A refused login leaves it open for QUIT.
void TCustomSmtpClient::failSignIn(TSmtpSignInFailure failure, int error,
                                   const std::string& reason) {
    signInFailure_ = failure;
    signInFailureReason_ = reason;
    finishRequest(error);
    if (failure == TSmtpSignInFailure::startTlsNotOffered ||
        failure == TSmtpSignInFailure::secureConnectionFailed)
        Abort();
}

} // namespace statvane
