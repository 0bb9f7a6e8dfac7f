// The default resolver library against DNS servers on loopback. Every look-up
// goes to a server named in STATVANE_DNS_SERVER, never to the machine's own.

#include "platform/resolver_library.h"
#include "peers/dns_dnsmasq.h"
#include "peers/dns_silent_server.h"
#include "statvane/resolve.h"
#include "support/temp_dir.h"

#include <chrono>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <optional>

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

// Many look-ups at once, against dnsmasq knowing names for 192.0.2.1 to
// 192.0.2.N, NXDOMAIN for the rest of 192.0.2, and forwarding 198.51.100 to
// the server that never answers.
class ManyLookupsTest : public DefaultResolverTest {
  protected:
    void startDnsmasq(int named) {
        std::vector<test::DnsmasqPeer::PtrRecord> records;
        for (int i = 1; i <= named; ++i)
            records.push_back(
                {"192.0.2." + QString::number(i), "host" + QString::number(i) + ".statvane.test"});
        ASSERT_TRUE(dnsmasq.start(records, {{"198.51.100", silentServer.serverText()}}))
            << dnsmasq.errorText().toStdString();
        useDnsmasq.emplace("STATVANE_DNS_SERVER", dnsmasq.serverText());
    }

    static std::optional<std::string> nameOf(const ResolverLibrary::Answer& answer) {
        EXPECT_TRUE(answer.known);
        return answer.name;
    }

    test::DnsmasqPeer dnsmasq;
    std::optional<ScopedEnv> useDnsmasq;
};

TEST_F(ManyLookupsTest, GiveWhatOneLookUpAtATimeGives) {
    REQUIRE_PEER("dnsmasq");
    startDnsmasq(2);
    const std::vector<std::string> addresses{
        "192.0.2.1", "192.0.2.50",   "198.51.100.7", "192.0.2.2",   "not-an-address",
        "::1",       "198.51.100.8", "192.0.2.1",    "192.0.2.51 ", ""};
    const auto many = library.resolveMany(addresses, {});
    ASSERT_TRUE(many.has_value()) << "the default library has ResolveMany";
    ASSERT_EQ(many->size(), addresses.size());
    for (std::size_t i = 0; i < addresses.size(); ++i)
        EXPECT_EQ(nameOf((*many)[i]), library.resolveIP(addresses[i])) << addresses[i];
    EXPECT_EQ(nameOf((*many)[0]), "host1.statvane.test");
    EXPECT_EQ(nameOf((*many)[3]), "host2.statvane.test");
}

TEST_F(ManyLookupsTest, AnswersEveryAddressOfALargeBatchRight) {
    REQUIRE_PEER("dnsmasq");
    startDnsmasq(200);
    std::vector<std::string> addresses;
    for (int i = 1; i <= 254; ++i)
        for (const char* network : {"192.0.2.", "198.51.100."})
            addresses.push_back(network + std::to_string(i));
    int calls = 0;
    const auto many = library.resolveMany(addresses, [&calls](int) { return ++calls > 0; });
    ASSERT_TRUE(many.has_value());
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        const int host = std::stoi(addresses[i].substr(addresses[i].rfind('.') + 1));
        const bool named = addresses[i].starts_with("192.") && host <= 200;
        EXPECT_EQ(nameOf((*many)[i]),
                  named ? std::optional("host" + std::to_string(host) + ".statvane.test")
                        : std::nullopt)
            << addresses[i];
    }
    EXPECT_GT(calls, 1) << "progress is reported while the silent look-ups wait";
}

TEST_F(ManyLookupsTest, StopsWhenTheCallerSaysSoWithoutWaitingForTheLookUps) {
    REQUIRE_PEER("dnsmasq");
    startDnsmasq(1);
    const std::vector<std::string> addresses{"192.0.2.1", "198.51.100.1", "198.51.100.2"};
    const auto start = std::chrono::steady_clock::now();
    const auto many = library.resolveMany(addresses, [start](int) {
        return std::chrono::steady_clock::now() - start < std::chrono::milliseconds(300);
    });
    // Well before the silent look-ups could have run out of time.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    ASSERT_TRUE(many.has_value());
    EXPECT_EQ(nameOf((*many)[0]), "host1.statvane.test");
    EXPECT_FALSE((*many)[1].known);
    EXPECT_FALSE((*many)[2].known);
}

} // namespace
} // namespace statvane
