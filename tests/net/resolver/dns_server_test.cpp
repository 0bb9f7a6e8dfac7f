#include "statvane/dns_server.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

std::string addressText(const DnsServerAddress& server) {
    char text[INET6_ADDRSTRLEN] = {};
    const void* address =
        server.family == AF_INET6 ? static_cast<const void*>(&server.ipv6) : &server.ipv4;
    ::inet_ntop(server.family, address, text, sizeof text);
    return text;
}

TEST(DnsServerAddress, TakesANumericAddressAndAPort) {
    struct Case {
        const char* text;
        int family;
        const char* address;
        std::uint16_t port;
    };
    const Case cases[] = {
        {"127.0.0.1:53", AF_INET, "127.0.0.1", 53},
        {"192.0.2.10:65535", AF_INET, "192.0.2.10", 65535},
        {"127.0.0.1:1", AF_INET, "127.0.0.1", 1},
        {"[::1]:5353", AF_INET6, "::1", 5353},
        {"[2001:db8::10]:53", AF_INET6, "2001:db8::10", 53},
        {"[::ffff:127.0.0.1]:53", AF_INET6, "::ffff:127.0.0.1", 53},
    };
    for (const Case& c : cases) {
        const auto server = parseDnsServerAddress(c.text);
        ASSERT_TRUE(server) << c.text;
        EXPECT_EQ(server->family, c.family) << c.text;
        EXPECT_EQ(addressText(*server), c.address) << c.text;
        EXPECT_EQ(server->port, c.port) << c.text;
    }
}

TEST(DnsServerAddress, RefusesAnythingElse) {
    for (const char* text : {
             "",
             "abc",
             "127.0.0.1",         // no port
             "127.0.0.1:",        // empty port
             "127.0.0.1:0",       // port out of range
             "127.0.0.1:65536",   //
             "127.0.0.1:99999",   //
             "127.0.0.1:123456",  //
             "127.0.0.1:+53",     // a port is digits only
             "127.0.0.1:-53",     //
             "127.0.0.1:5x",      //
             "127.0.0.1:53 ",     // blanks are not trimmed
             " 127.0.0.1:53",     //
             "127.0.0.1:53:54",   // one port
             "host.example:53",   // names would need a DNS server themselves
             "localhost:53",      //
             "127.0.0:53",        // not a whole IPv4 address
             "127.0.0.256:53",    //
             ":53",               // no address
             "::1:53",            // IPv6 without brackets
             "[::1]",             // no port
             "[::1]:",            //
             "[::1]53",           //
             "[::1:53",           //
             "[]:53",             //
             "[127.0.0.1]:53",    // IPv4 in brackets
             "[fe80::1%eth0]:53", // no zone
             "[::1]:53]:54",      //
         }) {
        EXPECT_FALSE(parseDnsServerAddress(text)) << '"' << text << '"';
    }
}

} // namespace
} // namespace statvane
