#pragma once

#include "net/smtp/smtp_types.h"

#include <string>

namespace statvane {

inline constexpr const char* kLoginRefusedMessage =
    "The mail server refused the user name or password.";
inline constexpr const char* kStartTlsNotOfferedMessage =
    "The mail server does not offer STARTTLS.";
inline constexpr const char* kCertificateNotTrustedMessage =
    "The mail server's certificate was not trusted: ";
inline constexpr const char* kSecureConnectionFailedMessage =
    "The secure connection to the mail server failed: ";
inline constexpr const char* kLoginNotOfferedMessage =
    "The mail server offers no login by user name and password (AUTH PLAIN or AUTH LOGIN).";

// What the user is told when the mail client could not set up the secure or
// logged-in session: the failure, and for a TLS failure its reason.
std::string signInFailureMessage(TSmtpSignInFailure failure, const std::string& reason);

} // namespace statvane
