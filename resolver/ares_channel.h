#pragma once

// What the single and the batched reverse look-ups share: a c-ares channel
// with our time-outs, aimed at the server of the environment, and one round
// of waiting on its sockets.

#include <ares.h>
#include <chrono>
#include <memory>
#include <netinet/in.h>
#include <optional>
#include <string>
#include <type_traits>

namespace statvane::resolver {

using Clock = std::chrono::steady_clock;

// A look-up is cut off after this long, whatever the number of servers.
inline constexpr std::chrono::milliseconds kLookupBudget{3000};

struct ChannelDeleter {
    void operator()(ares_channel channel) const { ::ares_destroy(channel); }
};
using Channel = std::unique_ptr<std::remove_pointer_t<ares_channel>, ChannelDeleter>;

// A channel aimed at the server named in STATVANE_DNS_SERVER, else at those of
// /etc/resolv.conf. Nothing when c-ares cannot start or the named server is
// not a valid "address:port", so that a typing error never sends a query to
// the system's servers instead.
Channel openChannel();

// The address of a dotted IPv4 text; nothing for any other text.
std::optional<in_addr> dottedIPv4(const std::string& text);

// Waits on the channel's sockets until one is ready, its next time-out or
// `deadline`, whichever comes first, and lets c-ares handle what happened.
void processOnce(ares_channel channel, Clock::time_point deadline);

} // namespace statvane::resolver
