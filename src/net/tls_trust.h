#pragma once

#include <QList>
#include <QSslError>
#include <QString>
#include <optional>
#include <string>

class QSslSocket;

namespace statvane {

class Prompt;

// The environment variable naming a PEM file of further certificate
// authorities to trust, beside the system's store.
inline constexpr const char* kExtraCaFileVariable = "STATVANE_CA_FILE";

// Readies `socket` for a secure connection: the peer's certificate must come
// from the system's certificate authorities or those of STATVANE_CA_FILE,
// and name `peerName` (the name the user gave, not the address connected
// to). Verification is always on.
void requireTrustedPeer(QSslSocket& socket, const QString& peerName);

// "STATVANE_CA_FILE names PATH, which could not be read as PEM certificates:
// REASON." when the variable names a file that cannot be read or holds no
// certificate; nothing when it is unset or empty, or the file was read.
std::optional<std::string> extraCaFileProblem();

// Tells extraCaFileProblem() as a warning, if any: once where a run or a
// mail starts, so that no connection waits on a message box and a run's
// pages do not tell it one by one.
void tellExtraCaFileProblem(Prompt& prompt);

// One line saying why the peer was not trusted, from the handshake's errors.
std::string tlsFailureReason(const QList<QSslError>& errors);

} // namespace statvane
