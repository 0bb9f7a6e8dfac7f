#include "net/smtp/service_port.h"
#include "net/smtp/socket_error.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

TEST(SocketError, MapsToWindowsSocketsNumbers) {
    const struct {
        QAbstractSocket::SocketError error;
        int number;
    } cases[] = {
        {QAbstractSocket::ConnectionRefusedError, 10061},
        {QAbstractSocket::HostNotFoundError, 11001},
        {QAbstractSocket::SocketTimeoutError, 10060},
        {QAbstractSocket::RemoteHostClosedError, 10054},
        {QAbstractSocket::NetworkError, 10051},
        {QAbstractSocket::UnknownSocketError, 10107},
    };
    for (const auto& [error, number] : cases)
        EXPECT_EQ(socketErrorOf(error).number, number) << error;
    EXPECT_EQ(lookupErrorOf(QHostInfo::HostNotFound).number, 11001);
}

TEST(SocketError, ResponseNamesTheErrorAndItsNumber) {
    EXPECT_EQ(socketErrorResponse(socketErrorOf(QAbstractSocket::ConnectionRefusedError)),
              "500 Connection refused (Winsock error #10061)");
    EXPECT_EQ(socketErrorResponse(lookupErrorOf(QHostInfo::HostNotFound)),
              "500 Host not found (Winsock error #11001)");
}

TEST(ServicePort, TakesNumbersAndServiceNames) {
    EXPECT_EQ(servicePort("smtp"), 25);
    EXPECT_EQ(servicePort("2525"), 2525);
    EXPECT_EQ(servicePort("0"), std::nullopt);
    EXPECT_EQ(servicePort("65536"), std::nullopt);
    EXPECT_EQ(servicePort("25x"), std::nullopt);
    EXPECT_EQ(servicePort(""), std::nullopt);
    EXPECT_EQ(servicePort("no-such-service-here"), std::nullopt);
}

} // namespace
} // namespace statvane
