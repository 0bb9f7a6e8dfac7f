#include "platform/error.h"
#include "platform/registry.h"
#include "platform/utf16.h"
#include "support/temp_dir.h"

#include <functional>
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

struct Version5Encoding {
    const char* name;
    std::string (*encode)(const std::string&);
};

const Version5Encoding kVersion5Encodings[] = {
    {"UTF-16LE", [](const std::string& text) { return "\xff\xfe" + utf8ToUtf16Le(text); }},
    {"UTF-8 with a mark", [](const std::string& text) { return "\xef\xbb\xbf" + text; }},
    {"UTF-8", [](const std::string& text) { return text; }},
};

TEST_F(RegistryTest, Version5ExportsAreReadAndKeptInTheirEncoding) {
    const std::string exported =
        "Windows Registry Editor Version 5.00\r\n\r\n; exported on the old machine\r\n"
        "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane\\Settings]\r\n"
        "\"Max Size\"=\"p\xc3\xa4ss \\\"w\xc3\xb6rd\\\"\"\r\n"
        "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\r\n"
        "\"Lines\"=hex(1):61,00,0d,00,0a,00,e9,00,00,00\r\n\r\n";
    for (const auto& encoding : kVersion5Encodings) {
        SCOPED_TRACE(encoding.name);
        writeFile(path, encoding.encode(exported));
        EXPECT_EQ(registry.readString(kSettings, "Max Size"), "p\xc3\xa4ss \"w\xc3\xb6rd\"");
        EXPECT_EQ(registry.readString(kSettings, "Expand"), "%A%");
        EXPECT_EQ(registry.readString(kSettings, "Lines"), "a\r\n\xc3\xa9");

        registry.writeInteger("Software\\Velmor Software\\Statvane", "Index", 1);
        registry.writeString("K", "Break", "x\ny");
        EXPECT_EQ(readFile(path),
                  encoding.encode(exported +
                                  "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane]\r\n"
                                  "\"Index\"=dword:00000001\r\n\r\n"
                                  "[HKEY_CURRENT_USER\\K]\r\n"
                                  "\"Break\"=hex(1):78,00,0a,00,79,00,00,00\r\n\r\n"));
        EXPECT_EQ(Registry(path).readString("K", "Break"), "x\ny");
    }
}

TEST_F(RegistryTest, Utf16TextRoundTripsByteForByte) {
    // A lone surrogate and a character outside the first plane survive.
    const std::string units("W\0\xd8\xd8x\0\x3d\xd8\x00\xde", 10);
    const std::string text = utf16LeToUtf8(units);
    EXPECT_EQ(utf8ToUtf16Le(text), units);
    EXPECT_EQ(utf8ToUtf16Le("\xe9"), std::string("\xe9\0", 2)); // not UTF-8: taken as Latin-1
}

TEST_F(RegistryTest, DamagedLinesAreReportedAndKeptInTheirPlace) {
    std::string text = "REGEDIT4\r\n\"orphan\"=\"no key\"\r\n[HKEY_CURRENT_USER\\K\r\n";
    text += "\"Good\"=\"yes\"\r\n" + std::string(100000, 'x') + "\r\n";
    text += "\"Nul\"=\"a\0b\"\r\n\"Unterminated=\"x\r\n\"Web Site\"=\"http://cut\r\n"s;
    text += "; a comment\r\n\"Odd\"=dword:zz\r\n\"Last\"=dword:00000010";
    writeFile(path, text);
    EXPECT_EQ(registry.readString("K", "Good"), "yes");
    EXPECT_EQ(registry.readString("K", "Nul"), std::string("a\0b", 3));
    EXPECT_EQ(registry.readString("K", "Web Site"), std::nullopt);
    EXPECT_EQ(registry.readInteger("K", "Odd"), std::nullopt);
    EXPECT_EQ(registry.readInteger("K", "Last"), 16);
    EXPECT_EQ(registry.unreadableLines(), (std::vector<std::size_t>{2, 5, 7, 8, 10}));

    registry.writeString("K", "Web Site", "http://new");
    EXPECT_EQ(readFile(path), text + "\r\n\"Web Site\"=\"http://new\"\r\n");
    EXPECT_EQ(registry.readString("K", "Web Site"), "http://new");
}

TEST_F(RegistryTest, ValueAddedToAKeyBeforeADeletionBlockStaysInItsKey) {
    const std::string before = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"1\"\r\n"
                               "[-HKEY_CURRENT_USER\\Old]\r\n\"x\"=\"2\"\r\n";
    writeFile(path, before);
    registry.writeString("K", "b", "3");
    EXPECT_EQ(readFile(path), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"1\"\r\n"
                              "\"b\"=\"3\"\r\n[-HKEY_CURRENT_USER\\Old]\r\n\"x\"=\"2\"\r\n");
    Registry again(path);
    EXPECT_EQ(again.valueNames("K"), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(again.keyExists("Old"));
}

TEST_F(RegistryTest, ValueAddedAfterHexDataCutOffAtTheEndIsNotTakenIntoIt) {
    writeFile(path, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"Blob\"=hex:01,02,\\");
    registry.writeString("K", "New", "1");
    registry.writeString("L", "Other", "2");
    Registry again(path);
    EXPECT_EQ(again.valueNames("K"), (std::vector<std::string>{"Blob", "New"}));
    EXPECT_EQ(again.readString("K", "New"), "1");
    EXPECT_EQ(again.readString("L", "Other"), "2");
}

TEST_F(RegistryTest, FileThatIsNoExportIsNeverWritten) {
    const std::string contents[] = {"not a header\r\n[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"b\"\r\n",
                                    std::string("\x7f"
                                                "ELF\0\0\x01",
                                                7),
                                    "\xff\xfeR\0E\0G\0E\0D\0I\0T\0004\0\r\0\n\0["s};
    const char* expected[] = {
        ", line 1: it does not begin with \"REGEDIT4\" or \"Windows Registry Editor Version "
        "5.00\"; it is left as it is",
        ", line 1: it does not begin", ", line 2: the UTF-16 text ends in half a character"};
    for (std::size_t i = 0; i < std::size(contents); ++i) {
        writeFile(path, contents[i]);
        const std::string named = "Cannot read the settings file " + path.string() + expected[i];
        for (const auto& call :
             std::vector<std::function<void()>>{[&] { registry.readString("K", "a"); },
                                                [&] { registry.writeString("K", "a", "c"); },
                                                [&] { registry.openKey("Other", true); }}) {
            try {
                call();
                FAIL() << "expected an error for contents " << i;
            } catch (const Error& error) {
                EXPECT_EQ(std::string(error.what()).substr(0, named.size()), named);
            }
        }
        EXPECT_EQ(readFile(path), contents[i]);
    }
}

TEST_F(RegistryTest, FileThatCannotBeReadNamesTheReason) {
    std::filesystem::create_directory(path);
    try {
        registry.writeString("K", "a", "b");
        FAIL() << "expected an error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot read the settings file " + path.string() +
                                                 ": Is a directory; it is left as it is");
    }
}

TEST_F(RegistryTest, DeletingAKeyKeepsItsComments) {
    writeFile(path, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\L]\r\n; keep me\r\n\"0\"=\"a\"\r\n\r\n"
                    "[HKEY_CURRENT_USER\\M]\r\n\"x\"=\"y\"\r\n");
    EXPECT_TRUE(registry.deleteKey("L"));
    EXPECT_EQ(readFile(path),
              "REGEDIT4\r\n\r\n; keep me\r\n[HKEY_CURRENT_USER\\M]\r\n\"x\"=\"y\"\r\n");
}

} // namespace
} // namespace statvane
