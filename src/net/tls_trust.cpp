#include "net/tls_trust.h"

#include <QSslCertificate>
#include <QStringList>
#include <cstdlib>

namespace statvane {

QSslConfiguration trustedTlsConfiguration() {
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (const char* file = std::getenv(kExtraCaFileVariable); file && *file) {
        QList<QSslCertificate> authorities = configuration.caCertificates();
        authorities += QSslCertificate::fromPath(QString::fromLocal8Bit(file), QSsl::Pem);
        configuration.setCaCertificates(authorities);
    }
    return configuration;
}

std::string tlsFailureReason(const QList<QSslError>& errors) {
    QStringList reasons;
    for (const QSslError& error : errors)
        if (!reasons.contains(error.errorString()))
            reasons += error.errorString();
    return reasons.isEmpty() ? std::string("TLS handshake failed")
                             : reasons.join("; ").toStdString();
}

} // namespace statvane
