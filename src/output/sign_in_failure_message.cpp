#include "output/sign_in_failure_message.h"

namespace statvane {

std::string signInFailureMessage(TSmtpSignInFailure failure, const std::string& reason) {
    switch (failure) {
    case TSmtpSignInFailure::startTlsNotOffered:
        return kStartTlsNotOfferedMessage;
    case TSmtpSignInFailure::secureConnectionFailed:
        return kSecureConnectionFailedMessage + reason;
    case TSmtpSignInFailure::certificateNotTrusted:
        return kCertificateNotTrustedMessage + reason;
    case TSmtpSignInFailure::loginNotOffered:
        return kLoginNotOfferedMessage;
    case TSmtpSignInFailure::loginRefused:
        return kLoginRefusedMessage;
    case TSmtpSignInFailure::none:
        break;
    }
    return {};
}

} // namespace statvane
