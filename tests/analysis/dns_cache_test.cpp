#include "analysis/dns_cache.h"
#include "platform/error.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

TEST(DnsCache, ReadsAnyLineEndAndWritesCrLf) {
    test::TempDir dir;
    test::writeFile(dir / "dns.log", "10.0.0.1\r\n10.0.0.2\n10.0.0.3\r\r\nHost.Example");
    auto cache = DnsCache::load(dir / "dns.log");
    EXPECT_EQ(cache.entries(),
              (std::vector<std::string>{"10.0.0.1", "10.0.0.2", "10.0.0.3", "", "Host.Example"}));
    EXPECT_TRUE(cache.contains("host.example"));
    EXPECT_FALSE(cache.contains("10.0.0.4"));
    cache.write(dir / "dns.log");
    EXPECT_EQ(test::readFile(dir / "dns.log"),
              "10.0.0.1\r\n10.0.0.2\r\n10.0.0.3\r\n\r\nHost.Example\r\n");
}

TEST(DnsCache, TrimDropsTheOldest) {
    DnsCache cache;
    for (const char* address : {"a", "b", "a", "c", "d"})
        cache.add(address);
    cache.trimTo(3);
    EXPECT_EQ(cache.entries(), (std::vector<std::string>{"a", "c", "d"}));
    EXPECT_TRUE(cache.contains("A"));
    EXPECT_FALSE(cache.contains("b"));
    cache.trimTo(-5);
    EXPECT_TRUE(cache.entries().empty());
    EXPECT_FALSE(cache.contains("a"));
}

TEST(DnsCache, AddressesHoldingLineBreaksOrNulAreLeftOut) {
    DnsCache cache;
    const std::string addresses[] = {"10.0.0.1\rZ", "10.0.0.2\nZ", "10.0.0.3\r",
                                     std::string("10.0.0.4\0", 9), "10.0.0.5"};
    for (const auto& address : addresses)
        cache.add(address);
    EXPECT_EQ(cache.entries(), std::vector<std::string>{"10.0.0.5"});
    EXPECT_FALSE(cache.contains("10.0.0.1"));
    EXPECT_EQ(cache.text(), "10.0.0.5\r\n");
}

TEST(DnsCache, MissingFileIsEmptyAndUnwritableFileRaises) {
    test::TempDir dir;
    EXPECT_TRUE(DnsCache::load(dir / "missing.log").entries().empty());
    const auto nowhere = dir / "missing" / "dns.log";
    try {
        DnsCache().write(nowhere);
        FAIL() << "expected an error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + nowhere.string());
    }
}

} // namespace
} // namespace statvane
