// The default resolver library against DNS servers on loopback. Every look-up
// goes to a server named in STATVANE_DNS_SERVER, never to the machine's own.

#include "net/resolver/resolver_library.h"
#include "peers/dns_dnsmasq.h"
#include "peers/dns_silent_server.h"
#include "statvane/resolve.h"
#include "support/temp_dir.h"

#include <chrono>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace statvane {
namespace {

using test::ScopedEnv;

class DefaultResolverTest : public ::testing::Test {
  protected:
    test::SilentDnsServer silentServer;
    ScopedEnv server{"STATVANE_DNS_SERVER", silentServer.serverText()};
    ScopedEnv offline{"STATVANE_OFFLINE", "0"};
    ResolverLibrary library =
        ResolverLibrary::searchingIn({std::filesystem::path(DEFAULT_RESOLVER).parent_path()});
};

TEST_F(DefaultResolverTest, ResolvesFromTheNamedServer) {
    REQUIRE_PEER("dnsmasq");
    test::DnsmasqPeer dnsmasq;
    ASSERT_TRUE(dnsmasq.start({{"192.0.2.10", "host10.statvane.test"}}))
        << dnsmasq.errorText().toStdString();
    ScopedEnv useDnsmasq("STATVANE_DNS_SERVER", dnsmasq.serverText());

    EXPECT_EQ(library.resolveIP("192.0.2.10"), "host10.statvane.test");
    EXPECT_EQ(library.resolveIP("192.0.2.99"), std::nullopt);
    EXPECT_EQ(library.resolveIP("192.0.2.10"), "host10.statvane.test");
}

TEST_F(DefaultResolverTest, GivesUpOnAServerThatNeverAnswers) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(library.resolveIP("192.0.2.10"), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_TRUE(silentServer.takeQuery());
}

TEST_F(DefaultResolverTest, SendsNoQueryForWhatIsNotADottedIPv4Address) {
    for (const char* address :
         {"", "not-an-address", "192.0.2", "192.0.2.300", "192.0.2.10 ", " 192.0.2.10", "::1"}) {
        EXPECT_EQ(library.resolveIP(address), std::nullopt) << '"' << address << '"';
        EXPECT_FALSE(silentServer.takeQuery()) << '"' << address << '"';
    }
}

TEST_F(DefaultResolverTest, ConnectionFollowsTheEnvironment) {
    EXPECT_TRUE(library.connection()) << "a named DNS server counts as connected";
    ScopedEnv forcedOffline("STATVANE_OFFLINE", "1");
    EXPECT_FALSE(library.connection()) << "STATVANE_OFFLINE=1 wins";
}

// The library's own entries, called without the program's check of the
// environment.
template <typename Entry> Entry libraryEntry(const char* name) {
    void* library = ::dlopen(DEFAULT_RESOLVER, RTLD_NOW);
    return library ? reinterpret_cast<Entry>(::dlsym(library, name)) : nullptr;
}

TEST_F(DefaultResolverTest, AServerTextThatIsNoAddressAndPortMeansNoConnectionAndNoQuery) {
    const auto connection = libraryEntry<decltype(&Connection)>("Connection");
    const auto resolveIP = libraryEntry<decltype(&ResolveIP)>("ResolveIP");
    ASSERT_TRUE(connection && resolveIP);
    const std::string silent = silentServer.serverText();
    const std::string port = silent.substr(silent.find(':') + 1);
    for (const std::string& value :
         {std::string("abc"), std::string("127.0.0.1:0"), std::string("host.example:53"),
          "[127.0.0.1]:" + port, silent + " "}) {
        ScopedEnv server("STATVANE_DNS_SERVER", value);
        EXPECT_EQ(connection() & 0xff, 0) << value;
        EXPECT_EQ(resolveIP("192.0.2.10"), nullptr) << value;
        EXPECT_FALSE(silentServer.takeQuery()) << value;
    }
}

} // namespace
} // namespace statvane
