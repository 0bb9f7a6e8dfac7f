#pragma once

#include <QList>
#include <QSslConfiguration>
#include <QSslError>
#include <string>

namespace statvane {

// The environment variable naming a PEM file of further certificate
// authorities to trust, beside the system's store.
inline constexpr const char* kExtraCaFileVariable = "STATVANE_CA_FILE";

// The TLS settings of every secure connection: the system's certificate
// authorities plus those of STATVANE_CA_FILE, peer verification always on.
QSslConfiguration trustedTlsConfiguration();

// One line saying why the peer was not trusted, from the handshake's errors.
std::string tlsFailureReason(const QList<QSslError>& errors);

} // namespace statvane
