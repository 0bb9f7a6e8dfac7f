#include "net/web/web_launching.h"

#include "settings/settings.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace statvane {
namespace {

constexpr const char* makerSite = "http://" STATVANE_MAKER_HOST;

// The bytes of 128 and above written as %XX, for an address that is not UTF-8.
QString percentEncodedHighBytes(const std::string& address) {
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    QString text;
    for (const unsigned char byte : address) {
        if (byte < 0x80) {
            text += QChar(byte);
            continue;
        }
        text += QChar('%');
        text += QChar(hexDigits[byte >> 4]);
        text += QChar(hexDigits[byte & 0x0F]);
    }
    return text;
}

QString addressArgument(const std::string& address) {
    const QByteArray bytes = QByteArray::fromStdString(address);
    const QString text = QString::fromUtf8(bytes);
    return text.toUtf8() == bytes ? text : percentEncodedHighBytes(address);
}

// Starts a program with the address as its one argument, unless the address
// would read as an option.
void startWithAddress(const QString& program, const std::string& address) {
    if (address.starts_with('-'))
        return;
    QProcess::startDetached(program, {addressArgument(address)});
}

} // namespace

void openWebAddress(const Settings& settings, const std::string& address) {
    if (settings.DefaultBrowser)
        startWithAddress(QStringLiteral("xdg-open"), address);
    else
        launchBrowser(settings, address);
}

void launchBrowser(const Settings& settings, const std::string& address) {
    if (settings.BrowserPath.empty())
        return;
    startWithAddress(QFile::decodeName(QByteArray::fromStdString(settings.BrowserPath)), address);
}

std::string updatePageAddress() {
    return std::string(makerSite) + "/cgi-bin/statvane/upgrade.cgi?10";
}

std::string homePageAddress() {
    return std::string(makerSite) + "/";
}

} // namespace statvane
