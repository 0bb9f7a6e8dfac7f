#include "net/tls_trust.h"

#include "platform/atomic_file.h"
#include "platform/error.h"
#include "platform/prompt.h"

#include <QByteArray>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QStringList>
#include <cerrno>
#include <cstdlib>

namespace statvane {
namespace {

// The certificates of the file STATVANE_CA_FILE names, or why there are none.
struct ExtraAuthorities {
    QList<QSslCertificate> certificates;
    std::string file;
    std::string problem;
};

ExtraAuthorities readExtraAuthorities() {
    ExtraAuthorities extra;
    const char* file = std::getenv(kExtraCaFileVariable);
    if (!file || !*file)
        return extra;
    extra.file = file;
    std::string contents;
    if (!readFileContents(extra.file, contents)) {
        extra.problem = systemErrorText(errno);
        return extra;
    }
    extra.certificates = QSslCertificate::fromData(QByteArray::fromStdString(contents), QSsl::Pem);
    if (extra.certificates.isEmpty())
        extra.problem = "it holds no certificate";
    return extra;
}

QSslConfiguration trustedTlsConfiguration() {
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (const auto extra = readExtraAuthorities(); !extra.certificates.isEmpty())
        configuration.setCaCertificates(configuration.caCertificates() + extra.certificates);
    return configuration;
}

} // namespace

std::optional<std::string> extraCaFileProblem() {
    const ExtraAuthorities extra = readExtraAuthorities();
    if (extra.problem.empty())
        return std::nullopt;
    return std::string(kExtraCaFileVariable) + " names " + extra.file +
           ", which could not be read as PEM certificates: " + extra.problem + ".";
}

void tellExtraCaFileProblem(Prompt& prompt) {
    if (const auto problem = extraCaFileProblem())
        prompt.showMessage(*problem, MessageIcon::Warning);
}

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
