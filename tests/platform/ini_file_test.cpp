#include "platform/error.h"
#include "platform/ini_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using namespace std::string_literals;

using test::readFile;
using test::TempDir;
using test::writeFile;

class IniFileTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::filesystem::path path = dir / "reports.dat";
    IniFile ini{path};
};

TEST_F(IniFileTest, ReadsAFileWrittenByWindows) {
    writeFile(path, "[Weekly]\r\nDescription=  \"All hits\"  \r\nVisitors=1\r\n\r\n"
                    "[Daily]\nDescription='quoted once'\nOutput=\"a\"b\"\nEmpty=\n");
    EXPECT_EQ(ini.read("weekly", "DESCRIPTION"), "All hits");
    EXPECT_EQ(ini.read("Weekly", "Visitors"), "1");
    EXPECT_EQ(ini.read("Daily", "Description"), "quoted once");
    EXPECT_EQ(ini.read("Daily", "Output"), "a\"b");
    EXPECT_EQ(ini.read("Daily", "Empty"), "");
    EXPECT_EQ(ini.read("Daily", "Missing"), std::nullopt);
    EXPECT_EQ(ini.read("Monthly", "Description"), std::nullopt);
    EXPECT_EQ(ini.readString("Monthly", "Output", "test.txt"), "test.txt");
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"Weekly", "Daily"}));
}

TEST_F(IniFileTest, MissingFileReadsAsAbsentAndIsCreatedOnFirstWrite) {
    EXPECT_TRUE(ini.sectionNames().empty());
    EXPECT_EQ(ini.read("A", "B"), std::nullopt);
    ini.eraseSection("A");
    EXPECT_FALSE(std::filesystem::exists(path));
    ini.write("A", "B", "c");
    EXPECT_EQ(readFile(path), "[A]\r\nB=c\r\n");
}

TEST_F(IniFileTest, WritesAppendKeysToTheirSectionAndSectionsToTheFile) {
    ini.write("One", "First", "1");
    ini.write("Two", "Only", "x");
    ini.write("one", "Second", "2");
    ini.write("ONE", "first", "changed");
    EXPECT_EQ(readFile(path), "[One]\r\nFirst=changed\r\nSecond=2\r\n\r\n[Two]\r\nOnly=x\r\n");
}

TEST_F(IniFileTest, ValuesAreBytesAndLongValuesAreNotCut) {
    const std::string value = std::string(5000, 'v') + "\xe9\xff";
    ini.write("S", "K", value);
    EXPECT_EQ(ini.read("S", "K"), value);
}

TEST_F(IniFileTest, EraseRemovesTheSectionWithItsKeysOnly) {
    writeFile(path, "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nz=3\r\n");
    ini.eraseSection("b");
    EXPECT_EQ(readFile(path), "[A]\r\nx=1\r\n\r\n[C]\r\nz=3\r\n");
    ini.eraseSection("Nothing");
    EXPECT_EQ(readFile(path), "[A]\r\nx=1\r\n\r\n[C]\r\nz=3\r\n");
}

TEST_F(IniFileTest, ManySectionNamesAreAllListed) {
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "[A report with a fairly long name " + std::to_string(i) + "]\r\nx=1\r\n";
    writeFile(path, text);
    const auto names = ini.sectionNames();
    ASSERT_EQ(names.size(), 2000u);
    EXPECT_EQ(names.back(), "A report with a fairly long name 1999");
}

TEST_F(IniFileTest, RefusedWriteRaisesAndKeepsTheFile) {
    writeFile(path, "[A]\r\nx=1\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    try {
        ini.write("A", "x", "2");
        FAIL() << "expected an error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path.string());
    }
    EXPECT_THROW(ini.eraseSection("A"), Error);
    EXPECT_EQ(readFile(path), "[A]\r\nx=1\r\n");
}

TEST_F(IniFileTest, WriteIntoMissingFolderRaises) {
    IniFile nowhere(dir / "missing" / "files.dat");
    EXPECT_THROW(nowhere.write("A", "B", "c"), Error);
}

TEST_F(IniFileTest, GarbageLoadsWhatItCan) {
    std::string text = "garbage before any section\r\n[Broken\r\nkey=in broken\r\n";
    text += std::string(100000, 'x') + "\r\n";
    text += "[Good]\r\nnul=a\0b\r\n=no name\r\nlast=no line end"s;
    writeFile(path, text);
    EXPECT_EQ(ini.read("Broken", "key"), "in broken");
    EXPECT_EQ(ini.read("Good", "nul"), std::string("a\0b", 3));
    EXPECT_EQ(ini.read("Good", "last"), "no line end");
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"Broken", "Good"}));
    ini.write("Good", "added", "1");
    EXPECT_EQ(ini.read("Good", "last"), "no line end");
    EXPECT_EQ(ini.read("Good", "added"), "1");
}

} // namespace
} // namespace statvane
