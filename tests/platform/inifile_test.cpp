#include "platform/File.h"
#include "platform/inifile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;
using tagvane::IniFile;
using tagvane::InOutError;

namespace {

struct TempFolder {
    fs::path path;
    TempFolder() {
        char pattern[] = "/tmp/tagvane-ini-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { fs::remove_all(path); }
};

std::string readAll(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeAll(const fs::path &p, const std::string &bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace

TEST(IniFile, MissingOrUnreadableFileGivesDefaults) {
    TempFolder dir;
    fs::create_directory(dir.path / "folder.ini");
    for (const fs::path &p : {dir.path / "none.ini", dir.path / "no" / "such.ini", dir.path / "folder.ini"}) {
        IniFile ini(p.string());
        EXPECT_EQ(ini.readInteger("Position", "Left", 73), 73);
        EXPECT_EQ(ini.readString("Path", "OpenTextDir", "/home/x/"), "/home/x/");
    }
    EXPECT_FALSE(fs::exists(dir.path / "none.ini")); // reading creates nothing
}

TEST(IniFile, ReadsTextsAndIntegers) {
    TempFolder dir;
    const fs::path p = dir.path / "tagvane.ini";
    writeAll(p, "; settings\n"
                "top=1\n" // before any section: belongs to none
                "[Position]\n"
                "Left=120\n"
                "Top = -30 \n"
                "Width=12px\n"
                "Height=\n"
                "Depth=+7\n"
                "Huge=99999999999\n"
                "Hex=0x10\n"
                "Sign=+-5\n"
                "\n"
                "[ Rename Template ]\n"
                "1Prefix= - \n"
                "1Framename=Artist\n"
                "2Suffix=\n"
                "Eq=a=b\n"
                "# comment=not a key\n"
                "[Path]\r\n"
                "OpenTextDir=/music/texts/\r\n"
                "OpenPictureDir=/last/line/without/ending/");
    IniFile ini(p.string());
    struct IntCase {
        const char *section;
        const char *key;
        int expected;
    } ints[] = {
        {"Position", "Left", 120}, {"Position", "Top", -30}, {"Position", "Width", 5},
        {"Position", "Height", 5}, {"Position", "Depth", 7}, {"Position", "Huge", 5},
        {"Position", "Hex", 5},    {"Position", "Sign", 5},  {"Position", "Missing", 5},
        {"Nowhere", "Left", 5},    {"", "top", 5},           {"Rename Template", "1Framename", 5},
    };
    for (const auto &c : ints)
        EXPECT_EQ(ini.readInteger(c.section, c.key, 5), c.expected) << c.section << "/" << c.key;
    struct TextCase {
        const char *section;
        const char *key;
        std::string expected;
    } texts[] = {
        {"Rename Template", "1Prefix", " - "},       // blanks of the value kept
        {"Rename Template", "1FrameName", "Artist"}, // key case ignored
        {"RENAME TEMPLATE", "1framename", "Artist"}, // section case ignored, blanks in brackets ignored
        {"Rename Template", "2Suffix", ""},          // present and empty is not the default
        {"Rename Template", "2Prefix", "default"},   // missing
        {"Rename Template", "Eq", "a=b"},            // the first "=" separates
        {"Rename Template", "# comment", "default"}, // comments are no keys
        {"Path", "OpenTextDir", "/music/texts/"},    // CR LF endings
        {"Path", "OpenPictureDir", "/last/line/without/ending/"},
        {"Position", "1Prefix", "default"}, // key of another section
    };
    for (const auto &c : texts)
        EXPECT_EQ(ini.readString(c.section, c.key, "default"), c.expected) << c.section << "/" << c.key;
}

TEST(IniFile, WritesInPlaceAndKeepsOtherLines) {
    TempFolder dir;
    const fs::path p = dir.path / "tagvane.ini";
    const std::string before = "; my settings\n"
                               "[position]\n"
                               "  LEFT = 10\n"
                               "Top=20\n"
                               "odd line without equals\n"
                               "\n"
                               "[Rename Template]\n"
                               "NumberOfItems=5\n"
                               "3Prefix=kept\n";
    writeAll(p, before);
    IniFile ini(p.string());
    ini.writeInteger("Position", "Left", 300);
    ini.writeString("Rename Template", "NumberOfItems", "2");
    EXPECT_EQ(readAll(p), "; my settings\n"
                          "[position]\n"
                          "  LEFT =300\n"
                          "Top=20\n"
                          "odd line without equals\n"
                          "\n"
                          "[Rename Template]\n"
                          "NumberOfItems=2\n"
                          "3Prefix=kept\n");
    EXPECT_EQ(ini.readInteger("POSITION", "left", 0), 300);
}

TEST(IniFile, NewKeysGoToTheEndOfTheirSection) {
    TempFolder dir;
    const fs::path p = dir.path / "tagvane.ini";
    writeAll(p, "[Position]\n"
                "Left=1\n"
                "\n"
                "[Path]\n"
                "ImageSaveDir=/x/\n");
    IniFile ini(p.string());
    ini.writeInteger("position", "Top", 2);
    ini.writeString("PATH", "OpenTextDir", "/t/");
    ini.writeString("Rename Template", "1Framename", "Title");
    EXPECT_EQ(readAll(p), "[Position]\n"
                          "Left=1\n"
                          "Top=2\n"
                          "\n"
                          "[Path]\n"
                          "ImageSaveDir=/x/\n"
                          "OpenTextDir=/t/\n"
                          "\n"
                          "[Rename Template]\n"
                          "1Framename=Title\n");
}

TEST(IniFile, NewFileHasSectionsInTheOrderOfFirstWrite) {
    TempFolder dir;
    const fs::path p = dir.path / "tagvane.ini";
    IniFile ini(p.string());
    ini.writeInteger("Position", "Left", 73);
    ini.writeInteger("Position", "Top", 56);
    ini.writeString("Path", "OpenTextDir", "/home/u/");
    ini.writeInteger("Rename Template", "NumberOfItems", 1);
    ini.writeString("Rename Template", "1Prefix", "");
    ini.writeString("Rename Template", "1Framename", "Artist");
    ini.writeString("Rename Template", "1Suffix", " - ");
    ini.writeInteger("Position", "Left", -4); // back to the first section
    EXPECT_EQ(readAll(p), "[Position]\n"
                          "Left=-4\n"
                          "Top=56\n"
                          "\n"
                          "[Path]\n"
                          "OpenTextDir=/home/u/\n"
                          "\n"
                          "[Rename Template]\n"
                          "NumberOfItems=1\n"
                          "1Prefix=\n"
                          "1Framename=Artist\n"
                          "1Suffix= - \n");
    EXPECT_EQ(ini.readString("Rename Template", "1FrameName", ""), "Artist");
    EXPECT_EQ(ini.readString("Rename Template", "1Prefix", "x"), "");
    EXPECT_EQ(ini.readString("Rename Template", "1Suffix", ""), " - ");
}

TEST(IniFile, KeepsCrLfAndAFinalLineWithoutEnding) {
    TempFolder dir;
    const fs::path p = dir.path / "tagvane.ini";
    writeAll(p, "[Position]\r\nLeft=1\r\nTop=2");
    IniFile ini(p.string());
    ini.writeInteger("Position", "Left", 5);
    ini.writeInteger("Position", "Width", 7);
    ini.writeInteger("Path", "X", 1);
    EXPECT_EQ(readAll(p), "[Position]\r\nLeft=5\r\nTop=2\r\nWidth=7\r\n\r\n[Path]\r\nX=1\r\n");
}

TEST(IniFile, DuplicateSectionsAndKeys) {
    TempFolder dir;
    const fs::path p = dir.path / "tagvane.ini";
    writeAll(p, "[A]\nk=1\nk=2\n[B]\n[a]\nm=3\n");
    IniFile ini(p.string());
    EXPECT_EQ(ini.readInteger("A", "k", 0), 1);
    EXPECT_EQ(ini.readInteger("A", "m", 0), 3);
    ini.writeInteger("A", "k", 9);
    ini.writeInteger("A", "m", 8);
    ini.writeInteger("A", "n", 7);
    EXPECT_EQ(readAll(p), "[A]\nk=9\nk=2\nn=7\n[B]\n[a]\nm=8\n");
}

TEST(IniFile, LineBreaksInAValueCannotStartAnotherEntry) {
    TempFolder dir;
    const fs::path p = dir.path / "tagvane.ini";
    IniFile ini(p.string());
    ini.writeString("Rename Template", "1Prefix", "a\r\n[Position]\nLeft=999");
    EXPECT_EQ(ini.readInteger("Position", "Left", 73), 73);
    EXPECT_EQ(ini.readString("Rename Template", "1Prefix", ""), "a  [Position] Left=999");
}

TEST(IniFile, Windows1252BytesAreKept) {
    TempFolder dir;
    const fs::path p = dir.path / "tagvane.ini";
    IniFile ini(p.string());
    ini.writeString("Rename Template", "1Suffix", "\xFC\x80 ");
    EXPECT_EQ(ini.readString("Rename Template", "1suffix", ""), "\xFC\x80 ");
}

TEST(IniFile, AFileThatCannotBeWrittenThrows) {
    TempFolder dir;
    fs::create_directory(dir.path / "folder.ini");
    for (const fs::path &p : {dir.path / "missing" / "tagvane.ini", dir.path / "folder.ini"}) {
        IniFile ini(p.string());
        EXPECT_THROW(ini.writeInteger("Position", "Left", 1), InOutError) << p;
    }
}

// A fault at any step of a write throws, and the file then holds either its
// old content or the new one, never less.
TEST(IniFile, AFailedWriteKeepsTheOldSettings) {
    TempFolder dir;
    const fs::path p = dir.path / "tagvane.ini";
    const std::string before = "[Position]\nLeft=1\nTop=2\n";
    const std::string after = "[Position]\nLeft=9\nTop=2\n";
    int faults = 0;
    for (long n = 1;; ++n) {
        writeAll(p, before);
        IniFile ini(p.string());
        tagvane::faults::failOperation(n);
        bool failed = false;
        try {
            ini.writeInteger("Position", "Left", 9);
        } catch (const InOutError &) {
            failed = true;
        }
        tagvane::faults::failOperation(0);
        const std::string content = readAll(p);
        if (!failed) {
            EXPECT_EQ(content, after);
            break;
        }
        ++faults;
        EXPECT_EQ(content, before) << "fault at operation " << n;
        ASSERT_LT(n, 50);
    }
    EXPECT_GE(faults, 5); // open, size, read, create, write, rename
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1); // no leftovers
}
