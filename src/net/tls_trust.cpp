#include "net/tls_trust.h"

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QStringList>
#include <cstdlib>

namespace statvane {
namespace {

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

} // namespace

void requireTrustedPeer(QSslSocket& socket, const QString& peerName) {
    socket.setSslConfiguration(trustedTlsConfiguration());
    socket.setPeerVerifyName(peerName);
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
