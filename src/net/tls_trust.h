#pragma once

#include <QList>
#include <QSslError>
#include <QString>
#include <string>

class QSslSocket;

namespace statvane {

// The environment variable naming a PEM file of further certificate
// authorities to trust, beside the system's store.
inline constexpr const char* kExtraCaFileVariable = "STATVANE_CA_FILE";

// Readies `socket` for a secure connection: the peer's certificate must come
// from the system's certificate authorities or those of STATVANE_CA_FILE,
// and name `peerName` (the name the user gave, not the address connected
// to). Verification is always on.
void requireTrustedPeer(QSslSocket& socket, const QString& peerName);

// One line saying why the peer was not trusted, from the handshake's errors.
std::string tlsFailureReason(const QList<QSslError>& errors);

} // namespace statvane
