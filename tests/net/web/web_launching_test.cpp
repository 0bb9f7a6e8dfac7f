#include "net/web/web_launching.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace statvane {
namespace {

namespace fs = std::filesystem;

// One start of the recording program: which file ran, with which arguments.
struct Start {
    fs::path program;
    std::vector<std::string> arguments;
};

std::vector<Start> parseStarts(const std::string& bytes) {
    std::vector<std::string> fields;
    for (size_t begin = 0, end; (end = bytes.find('\0', begin)) != std::string::npos;
         begin = end + 1)
        fields.push_back(bytes.substr(begin, end - begin));
    std::vector<Start> starts;
    for (size_t i = 0; i + 1 < fields.size();) {
        const size_t count = std::stoul(fields[i]);
        starts.push_back({fields[i + 1], {fields.begin() + i + 2, fields.begin() + i + 2 + count}});
        i += 2 + count;
    }
    return starts;
}

Settings browserChoice(bool defaultBrowser, const std::string& browserPath) {
    Settings settings;
    settings.DefaultBrowser = defaultBrowser;
    settings.BrowserPath = browserPath;
    return settings;
}

// Each test has a folder of its own holding the record file and, as the only
// folder in PATH, a folder with a recording xdg-open.
class WebLaunching : public ::testing::Test {
  protected:
    WebLaunching() { installRecorder(handlers / "xdg-open"); }

    static fs::path installRecorder(const fs::path& file) {
        fs::create_directories(file.parent_path());
        fs::copy_file(RECORD_ARGUMENTS_PROGRAM, file);
        fs::permissions(file, fs::perms::owner_all);
        return file;
    }

    // Waits until at least `count` starts are recorded, for ten seconds at most.
    std::vector<Start> waitForStarts(size_t count) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::vector<Start> starts = parseStarts(test::readFile(recordFile));
        while (starts.size() < count && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            starts = parseStarts(test::readFile(recordFile));
        }
        return starts;
    }

    // Nothing opens the address: a browser started afterwards is the only start.
    void expectNothingStartedBefore(const fs::path& browser) const {
        launchBrowser(browserChoice(false, browser.string()), "after");
        const std::vector<Start> starts = waitForStarts(1);
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0].program, browser);
        EXPECT_EQ(starts[0].arguments, std::vector<std::string>{"after"});
    }

    test::TempDir dir;
    fs::path recordFile = dir / "starts";
    fs::path handlers = dir / "handlers";
    test::ScopedEnv recordVariable{"STATVANE_RECORD_FILE", recordFile.string()};
    test::ScopedEnv pathVariable{"PATH", handlers.string()};
};

std::string addressWithShellText(const fs::path& dir) {
    return "http://example.test/a b;touch " + (dir / "semicolon").string() + ";$(touch " +
           (dir / "dollar").string() + ")`touch " + (dir / "backtick").string() +
           "`'single' \"double\" > " + (dir / "redirect").string() + " & | end";
}

TEST_F(WebLaunching, ChosenBrowserGetsTheAddressAsItsOneArgumentWithoutAShell) {
    const fs::path browser = installRecorder(dir / "My Programs" / "web browser");
    const std::string address = addressWithShellText(dir.path());
    const Settings settings = browserChoice(false, browser.string());
    using Opener = void (*)(const Settings&, const std::string&);
    for (const Opener open : {Opener(openWebAddress), Opener(launchBrowser)})
        open(settings, address);

    const std::vector<Start> starts = waitForStarts(2);
    ASSERT_EQ(starts.size(), 2u);
    for (const Start& start : starts) {
        EXPECT_EQ(start.program, browser);
        EXPECT_EQ(start.arguments, std::vector<std::string>{address});
    }
    for (const char* sideEffect : {"semicolon", "dollar", "backtick", "redirect"})
        EXPECT_FALSE(fs::exists(dir / sideEffect)) << sideEffect;
}

TEST_F(WebLaunching, DefaultHandlerIsXdgOpenWithTheAddressAsItsOneArgument) {
    const fs::path browser = installRecorder(dir / "browser");
    const std::string address = addressWithShellText(dir.path());
    openWebAddress(browserChoice(true, browser.string()), address);

    const std::vector<Start> starts = waitForStarts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, handlers / "xdg-open");
    EXPECT_EQ(starts[0].arguments, std::vector<std::string>{address});
}

TEST_F(WebLaunching, AddressBytesThatAreNotUtf8AreHandedOverPercentEncoded) {
    const fs::path browser = installRecorder(dir / "browser");
    const Settings settings = browserChoice(false, browser.string());
    const std::pair<std::string, std::string> cases[] = {
        {"http://example.test/caf\xC3\xA9?q=\xE2\x82\xAC",
         "http://example.test/caf\xC3\xA9?q=\xE2\x82\xAC"},
        {"http://example.test/caf\xE9%20x", "http://example.test/caf%E9%20x"},
        {"http://example.test/\xC3(", "http://example.test/%C3("},
    };
    for (const auto& [address, argument] : cases) {
        std::error_code ignored;
        fs::remove(recordFile, ignored);
        openWebAddress(settings, address);
        const std::vector<Start> starts = waitForStarts(1);
        ASSERT_EQ(starts.size(), 1u) << address;
        EXPECT_EQ(starts[0].arguments, std::vector<std::string>{argument});
    }
}

struct NothingOpens {
    const char* name;
    bool defaultBrowser;
    std::string browserPath; // "@" stands for a recording browser
    std::string address;
};

TEST_F(WebLaunching, NothingOpensWithoutAProgramOrForAnAddressThatReadsAsAnOption) {
    const fs::path browser = installRecorder(dir / "browser");
    const NothingOpens cases[] = {
        {"empty browser path", false, "", "http://example.test/"},
        {"missing program", false, (dir / "no such browser").string(), "http://example.test/"},
        {"missing program in PATH", false, "no-such-browser", "http://example.test/"},
        {"option to the browser", false, "@", "--remote-debugging-port=9222"},
        {"option to xdg-open", true, "@", "--manual"},
    };
    for (const auto& [name, defaultBrowser, browserPath, address] : cases) {
        SCOPED_TRACE(name);
        std::error_code ignored;
        fs::remove(recordFile, ignored);
        const Settings settings =
            browserChoice(defaultBrowser, browserPath == "@" ? browser.string() : browserPath);
        openWebAddress(settings, address);
        launchBrowser(settings, address);
        expectNothingStartedBefore(browser);
    }
}

TEST(MakerSite, UpdatePageAndHomePageAreOnTheSameHttpHost) {
    const std::string home = homePageAddress();
    const std::string update = updatePageAddress();
    ASSERT_TRUE(home.starts_with("http://"));
    EXPECT_GT(home.size(), std::string("http:///").size());
    EXPECT_TRUE(home.ends_with("/"));
    EXPECT_EQ(home.find('/', 7), home.size() - 1);
    EXPECT_EQ(update, home + "cgi-bin/statvane/upgrade.cgi?10");
}

} // namespace
} // namespace statvane
