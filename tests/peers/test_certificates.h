#pragma once

#include <QString>
#include <QTemporaryDir>

namespace statvane::test {

// The private certificate authority (ca.pem) and the server certificates and
// keys that make_test_certificates.sh makes (server, wrongname, expired,
// selfsigned; .pem and .key), in a folder of their own that goes with the
// object.
class TestCertificates {
  public:
    TestCertificates();

    // False, with the script's output in errorText(), when they could not be made.
    bool made() const { return error_.isEmpty(); }
    const QString& errorText() const { return error_; }
    QString file(const QString& name) const { return folder_.filePath(name); }

  private:
    QTemporaryDir folder_;
    QString error_;
};

} // namespace statvane::test
