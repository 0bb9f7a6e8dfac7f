#pragma once

#include <QAbstractSocket>
#include <QHostInfo>
#include <string>

namespace statvane {

// A socket failure as the user knows it from Windows Sockets: its number and
// a short English text.
struct SocketError {
    int number;
    std::string text;
};

SocketError socketErrorOf(QAbstractSocket::SocketError error);
SocketError lookupErrorOf(QHostInfo::HostInfoError error);

// The reply-like line that stands for a socket failure:
// "500 Connection refused (Winsock error #10061)".
std::string socketErrorResponse(const SocketError& error);

} // namespace statvane
