#include "platform/resolver_library.h"
#include "platform/error.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace statvane {
namespace {

using test::ScopedEnv;
using test::TempDir;

// Stands for a file named resolve.so that is not a library.
constexpr const char* kNotALibrary = "not a library";

// Puts `library` (a built resolver library, kNotALibrary or nothing) into
// `folder` as resolve.so.
void place(const char* library, const std::filesystem::path& folder) {
    if (library == kNotALibrary)
        test::writeFile(folder / "resolve.so", "this is not a shared library\n");
    else if (library)
        std::filesystem::copy_file(library, folder / "resolve.so");
}

class ResolverLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::writeFile(work / "table", "10.0.0.1 one.statvane.test\r\n"
                                        "10.0.0.2 two.statvane.test\n");
    }

    TempDir programDir;
    TempDir otherDir;
    TempDir work;
    ScopedEnv table{"STATVANE_TEST_RESOLVER_TABLE", (work / "table").string()};
    ScopedEnv log{"STATVANE_TEST_RESOLVER_LOG", (work / "asked").string()};
    ScopedEnv connected{"STATVANE_TEST_CONNECTED", "1"};
};

TEST_F(ResolverLibraryTest, UsesTheFirstFolderWithALoadableLibrary) {
    struct Case {
        const char* what;
        const char* inProgramDir;
        const char* inOtherDir;
        std::optional<std::string> name;
        bool connection;
    };
    const Case cases[] = {
        {"program directory first", TABLE_RESOLVER, RESOLVE_ONLY_RESOLVER, "one.statvane.test",
         true},
        {"next folder without one in the program directory", nullptr, RESOLVE_ONLY_RESOLVER,
         "resolve-only.statvane.test", false},
        {"next folder when the program directory's is no library", kNotALibrary, TABLE_RESOLVER,
         "one.statvane.test", true},
        {"no library anywhere", nullptr, nullptr, std::nullopt, false},
    };
    for (const Case& c : cases) {
        TempDir first;
        TempDir second;
        place(c.inProgramDir, first.path());
        place(c.inOtherDir, second.path());
        const auto library = ResolverLibrary::searchingIn({"", first.path(), second.path()});
        EXPECT_EQ(library.resolveIP("10.0.0.1"), c.name) << c.what;
        EXPECT_EQ(library.connection(), c.connection) << c.what;
    }
}

TEST_F(ResolverLibraryTest, LooksInTheProgramDirectory) {
    place(TABLE_RESOLVER, programDir.path());
    const ResolverLibrary library(programDir.path());
    EXPECT_TRUE(library.connection());
    EXPECT_EQ(library.resolveIP("10.0.0.2"), "two.statvane.test");
}

TEST_F(ResolverLibraryTest, TableLibraryAnswersFromItsTableAndRecordsEveryAddress) {
    place(TABLE_RESOLVER, programDir.path());
    const auto library = ResolverLibrary::searchingIn({programDir.path()});
    EXPECT_EQ(library.resolveIP("10.0.0.2"), "two.statvane.test");
    EXPECT_EQ(library.resolveIP("10.0.0.9"), std::nullopt);
    EXPECT_EQ(library.resolveIP(""), std::nullopt);
    EXPECT_EQ(library.resolveIP("10.0.0.1"), "one.statvane.test");
    EXPECT_EQ(test::readFile(work / "asked"), "10.0.0.2\n10.0.0.9\n\n10.0.0.1\n");

    EXPECT_TRUE(library.connection());
    ScopedEnv offline("STATVANE_TEST_CONNECTED", "0");
    EXPECT_FALSE(library.connection());
}

// Each thread has an object of its own; the library still sees one call at
// a time.
TEST_F(ResolverLibraryTest, CallsFromManyThreadsReachTheLibraryOneAtATime) {
    place(TABLE_RESOLVER, programDir.path());
    ScopedEnv delay("STATVANE_TEST_RESOLVER_DELAY_MS", "100");
    std::vector<std::optional<std::string>> names(3);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < names.size(); ++i)
        threads.emplace_back([&, i] {
            const auto library = ResolverLibrary::searchingIn({programDir.path()});
            names[i] = library.resolveIP("10.0.0." + std::to_string(i));
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(names, (std::vector<std::optional<std::string>>{std::nullopt, "one.statvane.test",
                                                              "two.statvane.test"}));
    EXPECT_EQ(test::readFile(work / "asked").find("overlapping"), std::string::npos)
        << test::readFile(work / "asked");
}

TEST_F(ResolverLibraryTest, MissingEntriesAreNeverCalled) {
    place(CONNECTION_ONLY_RESOLVER, programDir.path());
    place(RESOLVE_ONLY_RESOLVER, otherDir.path());
    const auto connectionOnly = ResolverLibrary::searchingIn({programDir.path()});
    const auto resolveOnly = ResolverLibrary::searchingIn({otherDir.path()});

    EXPECT_EQ(connectionOnly.resolveIP("10.0.0.1"), std::nullopt);
    EXPECT_FALSE(connectionOnly.connection()) << "only the low 8 bits of the answer count";
    EXPECT_FALSE(resolveOnly.connection());
    EXPECT_EQ(resolveOnly.resolveIP("10.0.0.1"), "resolve-only.statvane.test");
}

TEST_F(ResolverLibraryTest, ADnsServerThatIsNoAddressAndPortEndsTheConnectionTest) {
    place(TABLE_RESOLVER, programDir.path());
    const auto library = ResolverLibrary::searchingIn({programDir.path()});
    for (const char* value : {"127.0.0.1:53", "[::1]:5353", ""}) {
        ScopedEnv server("STATVANE_DNS_SERVER", value);
        EXPECT_TRUE(library.connection()) << value;
    }
    for (const char* value : {"abc", "127.0.0.1", "127.0.0.1:0", "host.example:53", "::1:53"}) {
        ScopedEnv server("STATVANE_DNS_SERVER", value);
        try {
            library.connection();
            ADD_FAILURE() << value << ": no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), "STATVANE_DNS_SERVER is \"" + std::string(value) +
                                        "\", not a numeric address and port such as "
                                        "127.0.0.1:53 or [::1]:53.");
        }
    }
}

} // namespace
} // namespace statvane
