#include "platform/error.h"
#include "settings/mail_security.h"
#include "settings/settings_store.h"
#include "support/replacement_log.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using namespace registry_keys;
using test::readFile;
using test::writeFile;

class SettingsStoreTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::filesystem::path file = dir / "registry.reg";
    Registry registry{file};
    SettingsStore store{registry};

    Settings filled() {
        Settings settings;
        settings.DefaultBrowser = false;
        settings.BrowserPath = "/usr/bin/firefox";
        settings.WebSite = "http://www.example.com";
        settings.MaxCache = "500";
        settings.ProxyServerAddress = "proxy.example.com:3128";
        settings.ProxyPort = "8080";
        settings.ProxyUserName = "user";
        settings.ProxyPassword = "secret";
        settings.MailServer = "mail.example.com";
        settings.MailSubject = "Weekly";
        settings.MailSender = "me@example.com";
        settings.MailReplyTo = "";
        settings.VisitorFilterList = {"10.0.0.*", "*.example"};
        settings.ReferrerFilterList = {"links"};
        settings.TopPagesFilterList = {};
        return settings;
    }
};

TEST_F(SettingsStoreTest, FirstStartCreatesTheKeysWithDefaults) {
    Settings settings;
    settings.MailSubject = "stale";
    store.loadSettings(settings);
    EXPECT_TRUE(settings.DefaultBrowser);
    EXPECT_EQ(settings.MaxCache, "10000");
    EXPECT_EQ(settings.MailSubject, "");
    EXPECT_TRUE(settings.VisitorFilterList.empty());
    for (const char* key : {kSettings, kVisitor, kReferrer, kTopPages})
        EXPECT_TRUE(registry.keyExists(key)) << key;
}

TEST_F(SettingsStoreTest, SaveAndLoadRoundTripWithTheStoredNames) {
    ASSERT_EQ(store.saveSettings(filled()), SaveResult::Saved);
    EXPECT_EQ(registry.readString(kSettings, "Max Size"), "secret");
    EXPECT_EQ(registry.readInteger(kSettings, "Default Browser"), 0);
    EXPECT_EQ(registry.readString(kVisitor, "1"), "*.example");
    Settings loaded;
    store.loadSettings(loaded);
    const Settings expected = filled();
    EXPECT_EQ(loaded.DefaultBrowser, expected.DefaultBrowser);
    EXPECT_EQ(loaded.BrowserPath, expected.BrowserPath);
    EXPECT_EQ(loaded.ProxyPassword, expected.ProxyPassword);
    EXPECT_EQ(loaded.ProxyServerAddress, expected.ProxyServerAddress);
    EXPECT_EQ(loaded.MailSubject, expected.MailSubject);
    EXPECT_EQ(loaded.MaxCache, expected.MaxCache);
    EXPECT_EQ(loaded.VisitorFilterList, expected.VisitorFilterList);
    EXPECT_EQ(loaded.ReferrerFilterList, expected.ReferrerFilterList);
    EXPECT_TRUE(loaded.TopPagesFilterList.empty());
}

// A file from before the mail security values loads them empty and, saved,
// stays without them until they are set; once stored, they are kept up to
// date, also when emptied.
TEST_F(SettingsStoreTest, MailSecurityValuesAreStoredOnceSet) {
    const char* names[] = {"Mail Security", "Mail User Name", "Mail Password"};
    ASSERT_EQ(store.saveSettings(filled()), SaveResult::Saved);
    Settings settings;
    settings.MailSecurity = settings.MailUserName = settings.MailPassword = "stale";
    store.loadSettings(settings);
    EXPECT_EQ(settings.MailSecurity, "");
    EXPECT_EQ(settings.MailUserName, "");
    EXPECT_EQ(settings.MailPassword, "");
    ASSERT_EQ(store.saveSettings(settings), SaveResult::Saved);
    for (const char* name : names)
        EXPECT_EQ(registry.readString(kSettings, name), std::nullopt) << name;

    settings.MailSecurity = "STARTTLS";
    settings.MailUserName = "me@example.com";
    settings.MailPassword = "app \"password\"";
    ASSERT_EQ(store.saveSettings(settings), SaveResult::Saved);
    Settings loaded;
    store.loadSettings(loaded);
    EXPECT_EQ(loaded.MailSecurity, "STARTTLS");
    EXPECT_EQ(loaded.MailUserName, "me@example.com");
    EXPECT_EQ(loaded.MailPassword, "app \"password\"");
    EXPECT_EQ(loaded.MailServer, settings.MailServer);

    loaded.MailUserName.clear();
    loaded.MailPassword.clear();
    ASSERT_EQ(store.saveSettings(loaded), SaveResult::Saved);
    EXPECT_EQ(registry.readString(kSettings, "Mail User Name"), "");
    EXPECT_EQ(registry.readString(kSettings, "Mail Password"), "");
    EXPECT_EQ(registry.readString(kSettings, "Mail Security"), "STARTTLS");
}

TEST(MailSecurity, ReadsTheStoredTextIgnoringCase) {
    const std::pair<const char*, std::optional<MailSecurityMode>> cases[] = {
        {"", MailSecurityMode::None},
        {"None", MailSecurityMode::None},
        {"STARTTLS", MailSecurityMode::StartTls},
        {"StartTls", MailSecurityMode::StartTls},
        {"TLS", MailSecurityMode::Tls},
        {"tls", MailSecurityMode::Tls},
        {"SSL", std::nullopt},
        {" TLS", std::nullopt},
        {"STARTTLS ", std::nullopt},
    };
    for (const auto& [text, mode] : cases)
        EXPECT_EQ(mailSecurityMode(text), mode) << '"' << text << '"';
}

TEST_F(SettingsStoreTest, MaxCacheCheck) {
    const std::pair<const char*, bool> cases[] = {
        {"0", true},       {"250000", true}, {" 500", true}, {"$100", true}, {"-1", false},
        {"250001", false}, {"500 ", false},  {"", false},    {"ten", false}, {"$FFFFFFFF", false},
    };
    for (const auto& [text, accepted] : cases) {
        ASSERT_EQ(store.saveSettings(filled()), SaveResult::Saved);
        Settings settings = filled();
        settings.MaxCache = text;
        settings.WebSite = std::string("site for ") + text;
        settings.VisitorFilterList = {"changed"};
        test::ReplacementLog log;
        EXPECT_EQ(store.saveSettings(settings), accepted ? SaveResult::Saved : SaveResult::Rejected)
            << '"' << text << '"';
        EXPECT_EQ(log.files().size(), 1u) << '"' << text << '"';
        EXPECT_EQ(registry.readString(kSettings, "Web Site"), settings.WebSite);
        EXPECT_EQ(registry.readString(kSettings, "Max Cache"), accepted ? text : "500");
        EXPECT_EQ(registry.valueNames(kVisitor).size(), accepted ? 1u : 2u);
    }
}

// A save is one replacement of the file, so that a reader sees the settings
// from before it or after it, never a part of it.
TEST_F(SettingsStoreTest, SaveIsOneReplacementHoldingEveryValueInOrder) {
    Settings settings = filled();
    settings.MailPassword = "mail secret";
    test::ReplacementLog log;
    ASSERT_EQ(store.saveSettings(settings), SaveResult::Saved);
    EXPECT_EQ(log.files(), std::vector<std::string>{"registry.reg"});
    EXPECT_EQ(readFile(file),
              "REGEDIT4\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane\\Settings]\r\n"
              "\"Default Browser\"=dword:00000000\r\n"
              "\"Browser Path\"=\"/usr/bin/firefox\"\r\n"
              "\"Web Site\"=\"http://www.example.com\"\r\n"
              "\"Server Address\"=\"proxy.example.com:3128\"\r\n"
              "\"Port\"=\"8080\"\r\n\"User Name\"=\"user\"\r\n\"Max Size\"=\"secret\"\r\n"
              "\"Server\"=\"mail.example.com\"\r\n\"Subject\"=\"Weekly\"\r\n"
              "\"From\"=\"me@example.com\"\r\n\"Reply-To\"=\"\"\r\n"
              "\"Mail Password\"=\"mail secret\"\r\n\"Max Cache\"=\"500\"\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane\\Visitor]\r\n"
              "\"0\"=\"10.0.0.*\"\r\n\"1\"=\"*.example\"\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane\\Referrer]\r\n"
              "\"0\"=\"links\"\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane\\TopPages]\r\n\r\n");
}

// A save killed after its first replacement of the file leaves the settings
// from before it or the whole new ones, the lists included.
TEST_F(SettingsStoreTest, SaveKilledMidwayLeavesAWholeFile) {
    ASSERT_EQ(store.saveSettings(filled()), SaveResult::Saved);
    const std::string before = readFile(file);
    Settings changed = filled();
    changed.DefaultBrowser = true;
    changed.VisitorFilterList = {"192.168.*"};
    EXPECT_TRUE(test::runKilledAfterRenames(1, [&] { store.saveSettings(changed); }));
    const std::string afterKill = readFile(file);
    ASSERT_EQ(store.saveSettings(changed), SaveResult::Saved);
    EXPECT_TRUE(afterKill == before || afterKill == readFile(file)) << afterKill;
}

TEST_F(SettingsStoreTest, ListsAreRebuiltAndLoadValuesOfAnyName) {
    Settings settings = filled();
    settings.TopPagesFilterList = {"a", "b", "c"};
    store.saveSettings(settings);
    settings.TopPagesFilterList = {"a", "c"};
    store.saveSettings(settings);
    EXPECT_EQ(registry.valueNames(kTopPages), (std::vector<std::string>{"0", "1"}));
    registry.writeString(kTopPages, "by hand", "d");
    Settings loaded;
    store.loadSettings(loaded);
    EXPECT_EQ(loaded.TopPagesFilterList, (std::vector<std::string>{"a", "c", "d"}));
}

TEST_F(SettingsStoreTest, LoadingOddStoredValues) {
    writeFile(file, "REGEDIT4\r\n\r\n"
                    "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane\\Settings]\r\n"
                    "\"Default Browser\"=\"0\"\r\n\"Max Cache\"=\"\"\r\n\"Web Site\"=\"w\"\r\n");
    Settings settings;
    store.loadSettings(settings);
    EXPECT_TRUE(settings.DefaultBrowser);
    EXPECT_EQ(settings.MaxCache, "10000");
    registry.writeInteger(kSettings, "Default Browser", 5);
    store.loadSettings(settings);
    EXPECT_TRUE(settings.DefaultBrowser);
}

TEST_F(SettingsStoreTest, WrongKindStopsLoadingAtThatValue) {
    writeFile(file,
              "REGEDIT4\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane\\Settings]\r\n"
              "\"Browser Path\"=\"b\"\r\n\"Web Site\"=dword:00000001\r\n\"Server\"=\"m\"\r\n");
    Settings settings;
    try {
        store.loadSettings(settings);
        FAIL() << "expected an error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'Web Site'");
    }
    EXPECT_EQ(settings.BrowserPath, "b");
    EXPECT_EQ(settings.MailServer, "");
    EXPECT_EQ(settings.MaxCache, "10000");
    EXPECT_EQ(settings.MailSubject, "Statvane Report");
}

// A file that receives a password becomes readable by its owner alone; one
// that does not keeps the mode it had.
TEST_F(SettingsStoreTest, APasswordMakesTheFileItsOwnersAlone) {
    struct Case {
        const char* what;
        std::string Settings::*password;
        const char* text;
        std::filesystem::perms mode;
    };
    using enum std::filesystem::perms;
    const Case cases[] = {
        {"no password", &Settings::ProxyPassword, "",
         owner_read | owner_write | group_read | others_read},
        {"proxy password", &Settings::ProxyPassword, "secret", owner_read | owner_write},
        {"mail password", &Settings::MailPassword, "secret", owner_read | owner_write},
    };
    for (const auto& [what, password, text, mode] : cases) {
        SCOPED_TRACE(what);
        writeFile(file, "REGEDIT4\r\n\r\n");
        std::filesystem::permissions(file, owner_read | owner_write | group_read | others_read);
        Settings settings = filled();
        settings.ProxyPassword.clear();
        settings.*password = text;
        ASSERT_EQ(store.saveSettings(settings), SaveResult::Saved);
        EXPECT_EQ(std::filesystem::status(file).permissions(), mode);
    }
}

TEST_F(SettingsStoreTest, RefusedWriteRaisesAndKeepsWhatWasStored) {
    ASSERT_EQ(store.saveSettings(filled()), SaveResult::Saved);
    const std::string before = readFile(file);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    try {
        store.saveSettings(filled());
        FAIL() << "expected an error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Default Browser'");
    }
    EXPECT_EQ(readFile(file), before);
}

TEST_F(SettingsStoreTest, WebSiteIsReadWithoutCreatingTheKey) {
    EXPECT_EQ(store.readWebSite(), "");
    EXPECT_FALSE(std::filesystem::exists(file));
    registry.writeString(kSettings, "Web Site", "http://site");
    EXPECT_EQ(store.readWebSite(), "http://site");
    // Loading tells a value of another kind; a run then reads it as empty.
    registry.writeInteger(kSettings, "Web Site", 1);
    EXPECT_EQ(store.readWebSite(), "");
}

TEST_F(SettingsStoreTest, WindowSizesAndSortIndex) {
    EXPECT_EQ(store.readWindowSize("Form4").width, 0);
    {
        test::ReplacementLog log;
        store.writeWindowSize("Form4", {640, 480});
        EXPECT_EQ(log.files().size(), 1u);
    }
    const auto size = store.readWindowSize("Form4");
    EXPECT_EQ(size.width, 640);
    EXPECT_EQ(size.height, 480);
    registry.writeString(kPositions, "Form1 Width", "wide");
    registry.writeInteger(kPositions, "Form1 Height", 300);
    EXPECT_EQ(store.readWindowSize("Form1").height, 0);
    EXPECT_EQ(store.readSortIndex(), std::nullopt);
    store.writeSortIndex(1);
    EXPECT_EQ(store.readSortIndex(), 1);
    EXPECT_EQ(
        registry.valueNames(kPositions),
        (std::vector<std::string>{"Form4 Height", "Form4 Width", "Form1 Width", "Form1 Height"}));
}

} // namespace
} // namespace statvane
