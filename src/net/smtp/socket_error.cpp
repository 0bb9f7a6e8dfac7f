#include "net/smtp/socket_error.h"

namespace statvane {

// Qt's socket errors mapped to the Windows Sockets numbers of the same
// failure:
//   ConnectionRefusedError         10061 WSAECONNREFUSED
//   RemoteHostClosedError          10054 WSAECONNRESET
//   HostNotFoundError              11001 WSAHOST_NOT_FOUND
//   SocketAccessError              10013 WSAEACCES
//   SocketResourceError            10055 WSAENOBUFS
//   SocketTimeoutError             10060 WSAETIMEDOUT
//   DatagramTooLargeError          10040 WSAEMSGSIZE
//   NetworkError                   10051 WSAENETUNREACH
//   AddressInUseError              10048 WSAEADDRINUSE
//   SocketAddressNotAvailableError 10049 WSAEADDRNOTAVAIL
//   UnsupportedSocketOperationError 10047 WSAEAFNOSUPPORT
//   OperationError                 10022 WSAEINVAL
//   TemporaryError                 10035 WSAEWOULDBLOCK
//   anything else                  10107 WSASYSCALLFAILURE
SocketError socketErrorOf(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return {10061, "Connection refused"};
    case QAbstractSocket::RemoteHostClosedError:
        return {10054, "Connection reset by peer"};
    case QAbstractSocket::HostNotFoundError:
        return {11001, "Host not found"};
    case QAbstractSocket::SocketAccessError:
        return {10013, "Permission denied"};
    case QAbstractSocket::SocketResourceError:
        return {10055, "No buffer space available"};
    case QAbstractSocket::SocketTimeoutError:
        return {10060, "Connection timed out"};
    case QAbstractSocket::DatagramTooLargeError:
        return {10040, "Message too long"};
    case QAbstractSocket::NetworkError:
        return {10051, "Network is unreachable"};
    case QAbstractSocket::AddressInUseError:
        return {10048, "Address already in use"};
    case QAbstractSocket::SocketAddressNotAvailableError:
        return {10049, "Cannot assign requested address"};
    case QAbstractSocket::UnsupportedSocketOperationError:
        return {10047, "Address family not supported by protocol family"};
    case QAbstractSocket::OperationError:
        return {10022, "Invalid argument"};
    case QAbstractSocket::TemporaryError:
        return {10035, "Resource temporarily unavailable"};
    default:
        return {10107, "System call failure"};
    }
}

// Host look-up failures:
//   HostNotFound 11001 WSAHOST_NOT_FOUND
//   UnknownError 11002 WSATRY_AGAIN (the resolver could not give an answer)
SocketError lookupErrorOf(QHostInfo::HostInfoError error) {
    if (error == QHostInfo::HostNotFound)
        return {11001, "Host not found"};
    return {11002, "Host not found, or server failure"};
}

std::string socketErrorResponse(const SocketError& error) {
    return "500 " + error.text + " (Winsock error #" + std::to_string(error.number) + ")";
}

} // namespace statvane
