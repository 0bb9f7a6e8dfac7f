#include "reverse_lookup.h"

#include "statvane/dns_server.h"

#include <algorithm>
#include <ares.h>
#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <poll.h>
#include <type_traits>
#include <vector>

namespace statvane::resolver {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Each try waits one second and the second try twice that; the whole look-up
// is cut off after three seconds whatever the number of servers.
constexpr int kFirstTryTimeoutMs = 1000;
constexpr int kTries = 2;
constexpr milliseconds kLookupBudget{3000};

struct ChannelDeleter {
    void operator()(ares_channel channel) const { ::ares_destroy(channel); }
};
using Channel = std::unique_ptr<std::remove_pointer_t<ares_channel>, ChannelDeleter>;

struct Outcome {
    bool done = false;
    std::optional<std::string> name;
};

void onHostFound(void* argument, int status, int /*timeouts*/, hostent* host) {
    auto& outcome = *static_cast<Outcome*>(argument);
    outcome.done = true;
    if (status == ARES_SUCCESS && host && host->h_name)
        outcome.name = host->h_name;
}

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

// A channel with our time-outs, aimed at the server of the environment when
// one is named. Nothing when that server text is not valid, so that a typing
// error never sends the query to the system's servers instead.
Channel openChannel() {
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

void runUntilDone(ares_channel channel, const Outcome& outcome) {
    const auto deadline = Clock::now() + kLookupBudget;
    while (!outcome.done) {
        if (Clock::now() >= deadline) {
            ::ares_cancel(channel);
            return;
        }
        processOnce(channel, deadline);
    }
}

} // namespace

std::optional<std::string> reverseLookup(const std::string& dottedAddress) {
    in_addr address{};
    if (::inet_pton(AF_INET, dottedAddress.c_str(), &address) != 1 || !libraryReady())
        return std::nullopt;
    Outcome outcome;
    const Channel channel = openChannel();
    if (!channel)
        return std::nullopt;
    ::ares_gethostbyaddr(channel.get(), &address, sizeof address, AF_INET, onHostFound, &outcome);
    runUntilDone(channel.get(), outcome);
    return outcome.name;
}

} // namespace statvane::resolver
