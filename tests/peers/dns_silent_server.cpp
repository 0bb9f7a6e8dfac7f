#include "peers/dns_silent_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace statvane::test {

SilentDnsServer::SilentDnsServer() : socket_(::socket(AF_INET, SOCK_DGRAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (socket_ < 0 || ::bind(socket_, generic, length) != 0 ||
        ::getsockname(socket_, generic, &length) != 0) {
        if (socket_ >= 0)
            ::close(socket_);
        throw std::runtime_error("cannot bind a UDP socket on loopback");
    }
    port_ = ntohs(address.sin_port);
}

SilentDnsServer::~SilentDnsServer() {
    ::close(socket_);
}

std::string SilentDnsServer::serverText() const {
    return "127.0.0.1:" + std::to_string(port_);
}

bool SilentDnsServer::takeQuery() {
    char datagram[512];
    bool received = false;
    while (::recv(socket_, datagram, sizeof datagram, MSG_DONTWAIT) >= 0)
        received = true;
    return received;
}

} // namespace statvane::test
