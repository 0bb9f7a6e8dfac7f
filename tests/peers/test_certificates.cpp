#include "peers/test_certificates.h"

#include <QProcess>

namespace statvane::test {

TestCertificates::TestCertificates() {
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start("/bin/sh", {MAKE_TEST_CERTIFICATES, folder_.path()});
    constexpr int kScriptLimitMs = 60000;
    if (!script.waitForFinished(kScriptLimitMs) || script.exitStatus() != QProcess::NormalExit ||
        script.exitCode() != 0)
        error_ = "make_test_certificates.sh failed: " + QString::fromLocal8Bit(script.readAll()) +
                 script.errorString();
}

} // namespace statvane::test
