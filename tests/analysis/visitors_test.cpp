#include "analysis/visitors.h"
#include "platform/error.h"
#include "platform/resolver_library.h"
#include "steps_fixture.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace statvane {
namespace {

using test::countLines;
using Strings = std::vector<std::string>;

class VisitorsTest : public ::testing::Test, public test::StepsFixture {
  protected:
    // The visitors step over the addresses of the lines.
    bool compile(std::initializer_list<std::string_view> lines) {
        PassSelection selection;
        selection.visitors = true;
        return compileVisitors(countLines(lines, selection).visitors, result, checkPoints, 30);
    }

    AnalysisResult result;
};

TEST_F(VisitorsTest, UniqueAddressesAscendingIgnoringCase) {
    ASSERT_TRUE(compile({"10.0.0.2 a", "10.0.0.1 b", "10.0.0.2 c", "Host.example x",
                         "host.EXAMPLE y", "alpha z", "noblank", " leading"}));
    EXPECT_EQ(result.visitors, (Strings{"10.0.0.1", "10.0.0.2", "alpha", "Host.example"}));
    EXPECT_EQ(observer.steps, Strings{"Compiling Unique Visitors List..."});
    EXPECT_EQ(observer.counts.back(), "4");
    EXPECT_EQ(observer.position, 30);
}

TEST_F(VisitorsTest, FilterTextsDropStarsAndMatchAnywhere) {
    const Strings visitors{"10.0.0.1",      "10.0.0.25", "10.1.0.1",
                           "a.example.com", "b.example", "other.org"};
    const std::pair<Strings, Strings> cases[] = {
        {{"10.0.0.*", "*.example"}, {"10.1.0.1", "other.org"}},
        {{"*example*"}, {"10.0.0.1", "10.0.0.25", "10.1.0.1", "other.org"}},
        {{"*.ORG"}, visitors},
        {{"*"}, {}},
        {{""}, {}},
    };
    for (const auto& [filters, kept] : cases) {
        result.visitors = visitors;
        filterVisitors(result, filters);
        EXPECT_EQ(result.visitors, kept) << filters.front();
    }
}

// Reverse look-ups through a table-driven resolver library, which records
// every address it is asked: by default the one without ResolveMany.
class ReverseLookupTest : public VisitorsTest {
  protected:
    void SetUp() override {
        test::writeFile(dir / "table", "10.0.0.1 one.example\n10.0.0.3 same.example\n"
                                       "10.0.0.4 same.example\nalpha alpha.example\n");
        useLibrary(TABLE_RESOLVER);
    }

    void useLibrary(const char* file) {
        const std::filesystem::path folder =
            dir.path() / std::filesystem::path(file).parent_path().filename();
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(file, folder / "resolve.so",
                                   std::filesystem::copy_options::skip_existing);
        resolver.emplace(ResolverLibrary::searchingIn({folder}));
    }

    Strings asked() const {
        Strings addresses;
        std::istringstream in(test::readFile(dir / "asked"));
        for (std::string line; std::getline(in, line);)
            addresses.push_back(line);
        return addresses;
    }

    bool lookUp(const std::string& maxCache) {
        return reverseLookup(result, dir / "dns.log", maxCache, *resolver, networkChecks, 18);
    }

    test::TempDir dir;
    test::ScopedEnv table{"STATVANE_TEST_RESOLVER_TABLE", (dir / "table").string()};
    test::ScopedEnv log{"STATVANE_TEST_RESOLVER_LOG", (dir / "asked").string()};
    std::optional<ResolverLibrary> resolver;
    CheckPoints networkChecks{observer, 1};
};

// The same cases through the library without ResolveMany (one look-up per
// visitor) and with it (one batch before the walk).
class EitherResolverTest : public ReverseLookupTest,
                           public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        ReverseLookupTest::SetUp();
        useLibrary(GetParam());
    }
};

INSTANTIATE_TEST_SUITE_P(Libraries, EitherResolverTest,
                         ::testing::Values(TABLE_RESOLVER, TABLE_RESOLVER_MANY),
                         [](const auto& info) {
                             return std::string(info.param == std::string(TABLE_RESOLVER)
                                                    ? "OneByOne"
                                                    : "ResolveMany");
                         });

TEST_P(EitherResolverTest, NamesReplaceAddressesAndFailuresAreCached) {
    test::writeFile(dir / "dns.log", "10.0.0.9\r\n");
    result.visitors = {"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.9"};
    ASSERT_TRUE(lookUp("10000"));
    EXPECT_EQ(result.visitors,
              (Strings{"one.example", "10.0.0.2", "same.example", "same.example", "10.0.0.9"}));
    EXPECT_EQ(asked(), (Strings{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4"}));
    EXPECT_EQ(test::readFile(dir / "dns.log"), "10.0.0.9\r\n10.0.0.2\r\n");
    EXPECT_EQ(observer.steps, Strings{"Performing Reverse DNS Lookup (5 total)..."});
    EXPECT_EQ(observer.counts.back(), "4");

    // The next run does not ask for the cached failure again.
    std::filesystem::remove(dir / "asked");
    result.visitors = {"10.0.0.2"};
    ASSERT_TRUE(lookUp("10000"));
    EXPECT_TRUE(asked().empty());
}

// Each repaint waits out the repaint interval, so that every check point
// shows its count. One by one, the count is the position of the visitor just
// handled; a batch counts the visitors settled so far (cached, host names,
// answered) less one, and the walk after it does not go back.
TEST_P(EitherResolverTest, LookUpCountsCountSettledVisitorsAndNeverGoBack) {
    test::writeFile(dir / "dns.log", "10.0.0.9\r\n");
    result.visitors = {"10.0.0.9", "alpha", "10.0.0.1", "10.0.0.2", "10.0.0.3"};
    observer.onEvents = [] { std::this_thread::sleep_for(std::chrono::milliseconds(40)); };
    ASSERT_TRUE(lookUp("10000"));
    const Strings oneByOne{"", "0", "1", "2", "3", "4"};
    const Strings batch{"", "1", "2", "3", "4", "4", "4", "4", "4"};
    EXPECT_EQ(observer.counts, GetParam() == std::string(TABLE_RESOLVER_MANY) ? batch : oneByOne);
}

// A log line may give an address holding a CR or a NUL. It stays out of
// dns.log, whose lines would read it back as other addresses, and the NUL
// never cuts it short into the address before it: the next run still
// resolves the real 10.9.0.1.
TEST_P(EitherResolverTest, AddressesHoldingCrOrNulStayOutOfTheCacheAndUnresolved) {
    test::writeFile(dir / "table", "10.9.0.1 nine.example\n");
    const std::string withNul("10.9.0.1\0Z", 10);
    const std::string line = test::combined("10.9.0.1\rZ", "GET / HTTP/1.0", "-", "A");
    const std::string nulLine = test::combined(withNul, "GET / HTTP/1.0", "-", "A");
    ASSERT_TRUE(compile({line, nulLine, test::combined("10.0.0.2", "GET /", "-", "A")}));
    ASSERT_TRUE(lookUp("10000"));
    EXPECT_EQ(result.visitors, (Strings{"10.0.0.2", withNul, "10.9.0.1\rZ"}));
    EXPECT_EQ(test::readFile(dir / "dns.log"), "10.0.0.2\r\n");

    result.visitors = {"10.9.0.1"};
    ASSERT_TRUE(lookUp("10000"));
    EXPECT_EQ(result.visitors, Strings{"nine.example"});
}

TEST_P(EitherResolverTest, CacheIsTrimmedToItsMaximumKeepingTheNewest) {
    test::writeFile(dir / "dns.log", "old1\r\nold2\r\n");
    result.visitors = {"10.0.0.5", "10.0.0.6", "10.0.0.7"};
    ASSERT_TRUE(lookUp("3"));
    EXPECT_EQ(test::readFile(dir / "dns.log"), "10.0.0.5\r\n10.0.0.6\r\n10.0.0.7\r\n");
    ASSERT_TRUE(lookUp(" 0"));
    EXPECT_TRUE(std::filesystem::exists(dir / "dns.log"));
    EXPECT_EQ(test::readFile(dir / "dns.log"), "");
}

TEST_P(EitherResolverTest, MaxCacheThatIsNotANumberFailsBeforeAnyLookup) {
    test::writeFile(dir / "dns.log", "kept\r\n");
    result.visitors = {"10.0.0.5"};
    try {
        lookUp("lots");
        FAIL() << "expected an error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'lots' is not a valid integer value");
    }
    EXPECT_EQ(test::readFile(dir / "dns.log"), "kept\r\n");
    EXPECT_TRUE(asked().empty());
}

TEST_F(ReverseLookupTest, CancelWritesTheCacheUntrimmed) {
    test::writeFile(dir / "dns.log", "old1\r\nold2\r\n");
    result.visitors = {"10.0.0.5", "10.0.0.6", "10.0.0.7"};
    observer.checksBeforeCancel = 1;
    EXPECT_FALSE(lookUp("1"));
    EXPECT_EQ(test::readFile(dir / "dns.log"), "old1\r\nold2\r\n10.0.0.5\r\n10.0.0.6\r\n");
}

TEST_F(ReverseLookupTest, BatchAndOneByOneGiveTheSameListAndCache) {
    // Cached, named, failing, duplicate spellings, host names (asked one at a
    // time in both), IPv6 and texts that are no address.
    const Strings visitors{"10.0.0.9", "10.0.0.1", "10.0.0.2",  "alpha",     "10.0.0.3", "::1",
                           "10.0.0.4", "10.0.0.2", "beta.test", "10.0.0.5 ", "10.0.0.6"};
    struct Outcome {
        Strings visitors;
        std::string dnsLog;
        Strings asked;
    };
    auto runWith = [&](const char* library) {
        useLibrary(library);
        test::writeFile(dir / "dns.log", "10.0.0.9\r\nold\r\n");
        std::filesystem::remove(dir / "asked");
        result.visitors = visitors;
        EXPECT_TRUE(lookUp("4")) << library;
        Strings asked = this->asked();
        // A batch asks a duplicate twice; the walk finds its failure cached.
        std::sort(asked.begin(), asked.end());
        asked.erase(std::unique(asked.begin(), asked.end()), asked.end());
        return Outcome{result.visitors, test::readFile(dir / "dns.log"), asked};
    };
    const Outcome oneByOne = runWith(TABLE_RESOLVER);
    const Outcome batch = runWith(TABLE_RESOLVER_MANY);
    EXPECT_EQ(oneByOne.visitors,
              (Strings{"10.0.0.9", "one.example", "10.0.0.2", "alpha.example", "same.example",
                       "::1", "same.example", "10.0.0.2", "beta.test", "10.0.0.5 ", "10.0.0.6"}));
    EXPECT_EQ(oneByOne.dnsLog, "::1\r\nbeta.test\r\n10.0.0.5 \r\n10.0.0.6\r\n");
    EXPECT_EQ(batch.visitors, oneByOne.visitors);
    EXPECT_EQ(batch.dnsLog, oneByOne.dnsLog);
    EXPECT_EQ(batch.asked, oneByOne.asked);
}

TEST_F(ReverseLookupTest, CancelDuringTheBatchStopsItAndCachesTheFailuresBeforeIt) {
    useLibrary(TABLE_RESOLVER_MANY);
    test::writeFile(dir / "dns.log", "old1\r\nold2\r\n");
    result.visitors = {"10.0.0.5", "10.0.0.6", "10.0.0.7"};
    observer.checksBeforeCancel = 1;
    EXPECT_FALSE(lookUp("1"));
    EXPECT_EQ(asked(), Strings{"10.0.0.5"}) << "the batch stops at Cancel";
    EXPECT_EQ(test::readFile(dir / "dns.log"), "old1\r\nold2\r\n10.0.0.5\r\n");
}

} // namespace
} // namespace statvane
