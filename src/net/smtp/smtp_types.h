#pragma once

#include "platform/error.h"

#include <cstdint>
#include <string>

namespace statvane {

// Where the client stands in its dialogue with the server.
enum TSmtpState {
    smtpReady = 0,           // idle; a request may start
    smtpDnsLookup = 1,       // resolving the host name
    smtpConnecting = 2,      // TCP connection being opened
    smtpConnected = 3,       // greeting accepted (passing)
    smtpInternalReady = 4,   // between the steps of a compound request
    smtpWaitingBanner = 5,   // connected, waiting for the greeting
    smtpWaitingResponse = 6, // a command was sent, waiting for its reply
    smtpAbort = 7,           // the connection is being dropped
};

// The request codes reported with every completion.
enum TSmtpRequest {
    smtpConnect = 0,
    smtpHelo = 1,
    smtpMailFrom = 2,
    smtpVrfy = 3,
    smtpRcptTo = 4,
    smtpData = 5,
    smtpQuit = 6,
    smtpRset = 7,
    smtpOpen = 8,    // compound: Connect, Helo
    smtpMail = 9,    // compound: MailFrom, RcptTo, Data
    smtpSignIn = 10, // compound: EHLO, STARTTLS and EHLO again, AUTH, as Security and UserName ask
};

// How the connection to the server is protected.
enum TSmtpSecurity {
    smtpNoSecurity, // plain TCP throughout
    smtpStartTls,   // plain TCP upgraded by STARTTLS before anything but EHLO is sent
    smtpTls,        // TLS from the first byte
};

// Why a secure or logged-in session could not be set up.
enum class TSmtpSignInFailure {
    none,
    startTlsNotOffered,     // STARTTLS was asked for; the connection was dropped
    secureConnectionFailed, // STARTTLS refused, or the TLS handshake failed
    certificateNotTrusted,  // the server's certificate did not verify
    loginNotOffered,        // a user name is set; the server offers no AUTH PLAIN or LOGIN
    loginRefused,           // the server refused the user name or password
};

enum TSmtpContentType { smtpPlainText, smtpHTML };

// Raised for misuse of the client (wrong state, not connected, no recipients).
class SmtpException : public Error {
  public:
    explicit SmtpException(const std::string& text) : Error(text) {}
};

} // namespace statvane
