#include "platform/error.h"
#include "platform/registry.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace statvane {
namespace {

using namespace std::string_literals;

using test::readFile;
using test::TempDir;
using test::writeFile;

constexpr const char* kSettings = "Software\\Velmor Software\\Statvane\\Settings";

class RegistryTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::filesystem::path path = dir / "registry.reg";
    Registry registry{path};
};

TEST_F(RegistryTest, LoadsAKeyExportedFromWindows) {
    writeFile(path, "REGEDIT4\r\n\r\n"
                    "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane\\Settings]\r\n"
                    "\"Web Site\"=\"http://www.example.com\"\r\n"
                    "\"Default Browser\"=dword:00000001\r\n"
                    "\"Browser Path\"=\"C:\\\\Program Files\\\\\\\"b\\\".exe\"\r\n"
                    "\"Blob\"=hex:01,02,\\\r\n  03,04\r\n"
                    "\"Negative\"=dword:ffffffff\r\n\r\n");
    EXPECT_EQ(registry.readString("software\\velmor software\\statvane\\SETTINGS", "web site"),
              "http://www.example.com");
    EXPECT_EQ(registry.readInteger(kSettings, "Default Browser"), 1);
    EXPECT_EQ(registry.readInteger(kSettings, "Negative"), -1);
    EXPECT_EQ(registry.readString(kSettings, "Browser Path"), "C:\\Program Files\\\"b\".exe");
    EXPECT_EQ(registry.valueNames(kSettings),
              (std::vector<std::string>{"Web Site", "Default Browser", "Browser Path", "Blob",
                                        "Negative"}));
    EXPECT_EQ(registry.readString(kSettings, "Missing"), std::nullopt);
    EXPECT_EQ(registry.readString("Software\\Nothing", "Web Site"), std::nullopt);
}

TEST_F(RegistryTest, ValueOfAnotherKindIsAnInvalidDataType) {
    writeFile(path, "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"Blob\"=hex:01,02\n\"S\"=\"x\"\n"
                    "\"D\"=dword:00000005\n");
    const std::pair<const char*, bool> cases[] = {{"Blob", true}, {"S", false}, {"D", true}};
    for (const auto& [name, stringFails] : cases) {
        if (stringFails) {
            try {
                registry.readString("K", name);
                FAIL() << name;
            } catch (const Error& error) {
                EXPECT_EQ(std::string(error.what()),
                          std::string("Invalid data type for '") + name + "'");
            }
        }
    }
    EXPECT_THROW(registry.readInteger("K", "S"), Error);
    EXPECT_THROW(registry.readInteger("K", "Blob"), Error);
}

TEST_F(RegistryTest, WritesRoundTripAndKeepOtherKindsAsTheyStood) {
    writeFile(path, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"Blob\"=hex:01,02,\\\r\n  03\r\n");
    registry.writeString("K", "Text", "a \"quoted\" \\ path \xe9");
    registry.writeString("K", "Lines", "two\r\nlines");
    registry.writeInteger("K", "Number", -2);
    registry.writeInteger("k", "number", 7);
    Registry again(path);
    EXPECT_EQ(again.readString("K", "Text"), "a \"quoted\" \\ path \xe9");
    EXPECT_EQ(again.readString("K", "Lines"), "two\r\nlines");
    EXPECT_EQ(again.readInteger("K", "Number"), 7);
    EXPECT_EQ(again.valueNames("K"), (std::vector<std::string>{"Blob", "Text", "Lines", "Number"}));
    EXPECT_NE(readFile(path).find("\"Blob\"=hex:01,02,\\\r\n  03\r\n"), std::string::npos);
    EXPECT_NE(readFile(path).find("\"Number\"=dword:00000007\r\n"), std::string::npos);
}

TEST_F(RegistryTest, KeysAreCreatedAndDeletedWithTheirSubkeys) {
    EXPECT_FALSE(registry.openKey("A\\B", false));
    EXPECT_TRUE(registry.openKey("A\\B", true));
    registry.writeString("A\\B\\C", "x", "1");
    registry.writeString("A\\Bee", "y", "2");
    EXPECT_TRUE(registry.keyExists("a\\b"));
    EXPECT_TRUE(registry.deleteKey("A\\B"));
    EXPECT_FALSE(registry.keyExists("A\\B"));
    EXPECT_FALSE(registry.keyExists("A\\B\\C"));
    EXPECT_EQ(registry.readString("A\\Bee", "y"), "2");
    EXPECT_FALSE(registry.deleteKey("A\\B"));
}

TEST_F(RegistryTest, NewFileIsPrivateAndFollowsTheOverride) {
    test::ScopedEnv settings("STATVANE_SETTINGS", path.string());
    EXPECT_EQ(Registry::defaultFile(), path);
    Registry(Registry::defaultFile()).writeString("K", "Max Size", "secret");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(readFile(path).rfind("REGEDIT4\r\n", 0), 0u);
}

TEST_F(RegistryTest, RefusedWriteRaisesAndLosesNothing) {
    registry.writeString("K", "Kept", "old");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    try {
        registry.writeString("K", "Web Site", "new");
        FAIL() << "expected an error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Failed to set data for 'Web Site'");
    }
    EXPECT_EQ(registry.readString("K", "Kept"), "old");
    EXPECT_EQ(registry.readString("K", "Web Site"), std::nullopt);
    EXPECT_FALSE(registry.openKey("Other", true));
}

TEST_F(RegistryTest, GarbageLoadsWhatItCan) {
    std::string text = "not a header\r\n\"orphan\"=\"no key\"\r\n[HKEY_CURRENT_USER\\K\r\n";
    text += "\"Good\"=\"yes\"\r\n" + std::string(100000, 'x') + "\r\n";
    text += "\"Nul\"=\"a\0b\"\r\n\"Unterminated=\"x\r\n\"Last\"=dword:00000010"s;
    writeFile(path, text);
    EXPECT_EQ(registry.readString("K", "Good"), "yes");
    EXPECT_EQ(registry.readString("K", "Nul"), std::string("a\0b", 3));
    EXPECT_EQ(registry.readInteger("K", "Last"), 16);
    registry.writeString("K", "Added", "1");
    EXPECT_EQ(registry.readString("K", "Nul"), std::string("a\0b", 3));
    EXPECT_EQ(registry.readInteger("K", "Last"), 16);
}

} // namespace
} // namespace statvane
