#include "ares_channel.h"

#include "statvane/dns_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>
#include <poll.h>
#include <vector>

namespace statvane::resolver {
namespace {

using std::chrono::milliseconds;

// Each try waits one second and the second try twice that: three seconds in
// all, the budget of a look-up.
constexpr int kFirstTryTimeoutMs = 1000;
constexpr int kTries = 2;

bool libraryReady() {
    static const bool ready = ::ares_library_init(ARES_LIB_INIT_ALL) == ARES_SUCCESS;
    return ready;
}

bool useServer(ares_channel channel, const DnsServerAddress& server) {
    ares_addr_port_node node{};
    node.family = server.family;
    if (server.family == AF_INET6)
        std::memcpy(&node.addr.addr6, &server.ipv6, sizeof server.ipv6);
    else
        node.addr.addr4 = server.ipv4;
    node.udp_port = server.port;
    node.tcp_port = server.port;
    return ::ares_set_servers_ports(channel, &node) == ARES_SUCCESS;
}

std::vector<pollfd> socketsToWatch(ares_channel channel) {
    ares_socket_t sockets[ARES_GETSOCK_MAXNUM];
    const int bits = ::ares_getsock(channel, sockets, ARES_GETSOCK_MAXNUM);
    std::vector<pollfd> watched;
    for (int i = 0; i < ARES_GETSOCK_MAXNUM; ++i) {
        short events = 0;
        if (ARES_GETSOCK_READABLE(bits, i))
            events |= POLLIN;
        if (ARES_GETSOCK_WRITABLE(bits, i))
            events |= POLLOUT;
        if (events)
            watched.push_back({sockets[i], events, 0});
    }
    return watched;
}

int waitMilliseconds(ares_channel channel, Clock::time_point deadline) {
    const auto left = std::max(milliseconds(0),
                               std::chrono::duration_cast<milliseconds>(deadline - Clock::now()));
    timeval maximum{left.count() / 1000, static_cast<suseconds_t>(left.count() % 1000 * 1000)};
    timeval wait{};
    const timeval* next = ::ares_timeout(channel, &maximum, &wait);
    return static_cast<int>(std::max<long>(0, next->tv_sec * 1000 + next->tv_usec / 1000));
}

} // namespace

Channel openChannel() {
    if (!libraryReady())
        return nullptr;
    ares_options options{};
    options.timeout = kFirstTryTimeoutMs;
    options.tries = kTries;
    ares_channel raw = nullptr;
    if (::ares_init_options(&raw, &options, ARES_OPT_TIMEOUTMS | ARES_OPT_TRIES) != ARES_SUCCESS)
        return nullptr;
    Channel channel(raw);
    const auto named = dnsServerVariable();
    if (!named)
        return channel;
    const auto server = parseDnsServerAddress(*named);
    if (!server || !useServer(channel.get(), *server))
        return nullptr;
    return channel;
}

std::optional<in_addr> dottedIPv4(const std::string& text) {
    in_addr address{};
    if (::inet_pton(AF_INET, text.c_str(), &address) != 1)
        return std::nullopt;
    return address;
}

void processOnce(ares_channel channel, Clock::time_point deadline) {
    auto watched = socketsToWatch(channel);
    const int ready = ::poll(watched.data(), watched.size(), waitMilliseconds(channel, deadline));
    if (ready <= 0) {
        ::ares_process_fd(channel, ARES_SOCKET_BAD, ARES_SOCKET_BAD);
        return;
    }
    for (const pollfd& socket : watched) {
        const bool readable = socket.revents & (POLLIN | POLLERR | POLLHUP);
        const bool writable = socket.revents & POLLOUT;
        if (readable || writable)
            ::ares_process_fd(channel, readable ? socket.fd : ARES_SOCKET_BAD,
                              writable ? socket.fd : ARES_SOCKET_BAD);
    }
}

} // namespace statvane::resolver
