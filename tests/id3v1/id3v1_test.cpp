#include "id3v1/Id3.h"
#include "platform/File.h"

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;
using tagvane::Id3v1;
using tagvane::InOutError;

namespace {

struct TempFolder {
    fs::path path;
    TempFolder() {
        char pattern[] = "/tmp/tagvane-id3v1-XXXXXX";
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

// Bytes that stand for audio: nothing in them looks like a marker.
std::string audio(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>(0xF0 + i % 7);
    return s;
}

std::string padded(std::string text, size_t width) {
    text.resize(width, '\0');
    return text;
}

// A 128-byte block, field by field.
std::string block(const std::string &marker, const std::string &title, const std::string &artist,
                  const std::string &album, const std::string &year, const std::string &comment, unsigned char track,
                  unsigned char genre) {
    std::string b = padded(marker, 3); // marker, offset 0
    b += padded(title, 30);            // title, offset 3
    b += padded(artist, 30);           // artist, offset 33
    b += padded(album, 30);            // album, offset 63
    b += padded(year, 4);              // year, offset 93
    b += padded(comment, 29);          // comment, offsets 97-125
    b += static_cast<char>(track);     // track, offset 126
    b += static_cast<char>(genre);     // genre, offset 127
    return b;
}

Id3v1 readFile(const fs::path &p) {
    Id3v1 tag;
    tag.FileName = p.string();
    tag.ReadTag();
    return tag;
}

} // namespace

TEST(Id3v1Read, FieldsComeFromTheirOffsets) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    writeAll(p, audio(500) + block("TAG", "Waterloo", "ABBA", "Waterloo (LP)", "1974", "Eurovision", 1, 13));
    const Id3v1 tag = readFile(p);
    EXPECT_TRUE(tag.ID3v1Present);
    EXPECT_EQ(tag.Title, "Waterloo");
    EXPECT_EQ(tag.Artist, "ABBA");
    EXPECT_EQ(tag.Album, "Waterloo (LP)");
    EXPECT_EQ(tag.Year, "1974");
    EXPECT_EQ(tag.Comment, "Eurovision");
    EXPECT_EQ(tag.TrackNum, "1");
    EXPECT_EQ(tag.Genre, "Pop");
}

TEST(Id3v1Read, TrimsTrailingSpacesThenZeros) {
    struct Case {
        const char *what;
        std::string field;
        std::string expected;
    } cases[] = {
        {"zero padding", padded("Abba", 30), "Abba"},
        {"space padding", "Abba" + std::string(26, ' '), "Abba"},
        {"spaces before zeros stay", padded("Abba  ", 30), "Abba  "},
        {"only spaces", std::string(30, ' '), ""},
        {"only zeros", std::string(30, '\0'), ""},
        {"spaces then zeros", padded("   ", 30), "   "},
        {"zeros then spaces", padded("Ab", 20) + std::string(10, ' '), "Ab"},
        {"zero inside stays", padded(std::string("Ab\0ba", 5), 30), std::string("Ab\0ba", 5)},
        {"full width", std::string(30, 'x'), std::string(30, 'x')},
        {"Windows-1252 bytes kept", padded("Volap\xFCk \x80", 30), "Volap\xFCk \x80"},
    };
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    for (const auto &c : cases) {
        // The same field content in every text field; the comment is one byte narrower.
        writeAll(p, audio(10) + block("TAG", c.field, c.field, c.field, "", c.field.substr(0, 29), 0, 0));
        const Id3v1 tag = readFile(p);
        EXPECT_EQ(tag.Title, c.expected) << c.what;
        EXPECT_EQ(tag.Artist, c.expected) << c.what;
        EXPECT_EQ(tag.Album, c.expected) << c.what;
        EXPECT_EQ(tag.Comment, Id3v1::TrimZeros(Id3v1::TrimSpaces(c.field.substr(0, 29)))) << c.what;
    }
}

TEST(Id3v1Read, YearAndCommentWidths) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    const std::string comment29(29, 'c');
    writeAll(p, audio(10) + block("TAG", "", "", "", "2024", comment29, 9, 255));
    const Id3v1 tag = readFile(p);
    EXPECT_EQ(tag.Year, "2024");
    EXPECT_EQ(tag.Comment, comment29);
    EXPECT_EQ(tag.TrackNum, "9");
}

TEST(Id3v1Read, TrackAndGenreBytes) {
    struct Case {
        unsigned char track, genre;
        std::string trackNum, genreName;
    } cases[] = {
        {0, 0, "0", "Blues"},  {32, 17, "", "Rock"}, {7, 125, "7", "Dance Hall"},
        {255, 126, "255", ""}, {31, 255, "31", ""},  {33, 123, "33", "A capella"},
    };
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    for (const auto &c : cases) {
        writeAll(p, audio(10) + block("TAG", "t", "", "", "", "", c.track, c.genre));
        const Id3v1 tag = readFile(p);
        EXPECT_EQ(tag.TrackNum, c.trackNum) << int(c.track);
        EXPECT_EQ(tag.Genre, c.genreName) << int(c.genre);
    }
}

TEST(Id3v1Read, MarkerIsDecidedByItsFirstByte) {
    struct Case {
        std::string marker;
        bool present;
    } cases[] = {{"TAG", true},  {"TXY", true},  {std::string("T\0\0", 3), true},
                 {"XAG", false}, {"tag", false}, {std::string("\0AG", 3), false}};
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    for (const auto &c : cases) {
        writeAll(p, audio(300) + block(c.marker, "Title", "Artist", "Album", "1999", "Note", 4, 17));
        Id3v1 tag;
        tag.FileName = p.string();
        tag.Title = "old";
        tag.Genre = "Jazz";
        tag.TrackNum = "3";
        tag.ReadTag();
        EXPECT_EQ(tag.ID3v1Present, c.present) << c.marker;
        EXPECT_EQ(tag.Title, c.present ? "Title" : "") << c.marker;
        EXPECT_EQ(tag.Artist, c.present ? "Artist" : "") << c.marker;
        EXPECT_EQ(tag.TrackNum, c.present ? "4" : "") << c.marker;
        EXPECT_EQ(tag.Genre, c.present ? "Rock" : "") << c.marker;
    }
}

TEST(Id3v1Read, FileOfExactlyOneBlock) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    writeAll(p, block("TAG", "Only", "", "", "", "", 2, 0));
    const Id3v1 tag = readFile(p);
    EXPECT_TRUE(tag.ID3v1Present);
    EXPECT_EQ(tag.Title, "Only");
}

TEST(Id3v1Read, OpensTheFileForReadingOnly) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    writeAll(p, audio(200) + block("TAG", "x", "", "", "", "", 1, 1));
    // The kernel tells apart closing a file opened for writing from one opened for reading only.
    const int fd = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_GE(inotify_add_watch(fd, p.c_str(), IN_CLOSE_WRITE | IN_CLOSE_NOWRITE), 0);
    readFile(p);
    alignas(inotify_event) char buffer[4096];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    close(fd);
    ASSERT_GT(got, 0);
    uint32_t seen = 0;
    for (ssize_t at = 0; at < got;) {
        const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
        seen |= event->mask;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
    EXPECT_TRUE(seen & IN_CLOSE_NOWRITE);
    EXPECT_FALSE(seen & IN_CLOSE_WRITE);
}

TEST(Id3v1Write, BlockLayoutByteForByte) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    const std::string before = audio(1000);
    writeAll(p, before + block("TAG", "old title", "old", "old", "1900", "old", 1, 1));
    Id3v1 tag;
    tag.FileName = p.string();
    tag.Title = "Waterloo";
    tag.Artist = "ABBA";
    tag.Album = "Waterloo";
    tag.Year = "1974";
    tag.Comment = "Eurovision \xFC";
    tag.TrackNum = "3";
    tag.Genre = "Pop";
    tag.WriteTag();

    std::string expected = before;
    expected += "TAG";                         // marker
    expected += padded("Waterloo", 30);        // title
    expected += padded("ABBA", 30);            // artist
    expected += padded("Waterloo", 30);        // album
    expected += "1974";                        // year
    expected += padded("Eurovision \xFC", 29); // comment
    expected += '\x03';                        // track
    expected += '\x0D';                        // genre 13, Pop
    EXPECT_EQ(readAll(p), expected);
}

TEST(Id3v1Write, ValuesAreCutToTheirFields) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    writeAll(p, audio(10) + block("TAG", "", "", "", "", "", 0, 0));
    Id3v1 tag;
    tag.FileName = p.string();
    tag.Title = std::string(30, 't') + "XYZ";
    tag.Artist = std::string(31, 'a');
    tag.Album = std::string(40, 'b');
    tag.Year = "19999";
    tag.Comment = std::string(29, 'c') + "D";
    tag.WriteTag();
    const std::string bytes = readAll(p);
    ASSERT_EQ(bytes.size(), 138u);
    EXPECT_EQ(bytes.substr(10), block("TAG", std::string(30, 't'), std::string(30, 'a'), std::string(30, 'b'), "1999",
                                      std::string(29, 'c'), 0, 255));
    const Id3v1 back = readFile(p);
    EXPECT_EQ(back.Comment, std::string(29, 'c'));
    EXPECT_EQ(back.Year, "1999");
}

TEST(Id3v1Write, CommentOf28LeavesAZeroAtOffset125) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    writeAll(p, block("TAG", "", "", "", "", std::string(29, 'z'), 0, 0));
    Id3v1 tag;
    tag.FileName = p.string();
    tag.Comment = std::string(28, 'c');
    tag.TrackNum = "5";
    tag.WriteTag();
    const std::string bytes = readAll(p);
    ASSERT_EQ(bytes.size(), 128u);
    EXPECT_EQ(bytes[124], 'c');
    EXPECT_EQ(bytes[125], '\0');
    EXPECT_EQ(bytes[126], '\x05');
}

TEST(Id3v1Write, TrackNumberText) {
    struct Case {
        std::string text;
        unsigned char stored;
    } cases[] = {
        {"", 0},      {"7", 7},     {"300", 44},   {"256", 0}, {"-1", 255},       {"abc", 0},
        {"  12", 12}, {"3/12", 3},  {"12abc", 12}, {"+5", 5},  {"$1F", 31},       {"0x10", 16},
        {"0X1g", 1},  {"-$2", 254}, {" - 4", 0},   {"007", 7}, {"4294967296", 0}, {"99999999999", 255},
    };
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    for (const auto &c : cases) {
        writeAll(p, audio(10) + block("TAG", "", "", "", "", "", 0, 0));
        Id3v1 tag;
        tag.FileName = p.string();
        tag.TrackNum = c.text;
        tag.WriteTag();
        const std::string bytes = readAll(p);
        ASSERT_EQ(bytes.size(), 138u);
        EXPECT_EQ(static_cast<unsigned char>(bytes[10 + 126]), c.stored) << '"' << c.text << '"';
    }
}

TEST(Id3v1Write, EmptyTrackReadsBackAsZero) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    writeAll(p, audio(10) + block("TAG", "", "", "", "", "", 32, 0));
    Id3v1 tag;
    tag.FileName = p.string();
    tag.WriteTag();
    EXPECT_EQ(readFile(p).TrackNum, "0");
}

TEST(Id3v1Write, GenreNameToCode) {
    struct Case {
        std::string name;
        unsigned char stored;
    } cases[] = {{"Rock", 17}, {"rock", 255},       {"ROCK", 255},    {"Rock ", 255},  {"", 255},
                 {"Blues", 0}, {"Dance Hall", 125}, {"Unknown", 255}, {"Pop/Funk", 62}};
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    for (const auto &c : cases) {
        writeAll(p, audio(10) + block("TAG", "", "", "", "", "", 0, 0));
        Id3v1 tag;
        tag.FileName = p.string();
        tag.Genre = c.name;
        tag.WriteTag();
        EXPECT_EQ(static_cast<unsigned char>(readAll(p).back()), c.stored) << c.name;
    }
}

// Only a file ending in the full marker gets its last 128 bytes replaced;
// anything else keeps every byte and gains a block at its end.
TEST(Id3v1Write, OverwritesOnlyAFullMarkerAndAppendsOtherwise) {
    struct Case {
        const char *what;
        std::string content;
        bool overwrites;
    } cases[] = {
        {"full marker", audio(400) + block("TAG", "old", "", "", "", "", 1, 1), true},
        {"first byte only", audio(400) + block("Txx", "old", "", "", "", "", 1, 1), false},
        {"T then zeros", audio(400) + "T" + std::string(127, '\0'), false},
        {"no marker", audio(400), false},
        {"lowercase marker", audio(400) + block("tag", "old", "", "", "", "", 1, 1), false},
        {"exactly 128 bytes of audio", audio(128), false},
        {"exactly one block", block("TAG", "old", "", "", "", "", 1, 1), true},
    };
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    for (const auto &c : cases) {
        writeAll(p, c.content);
        Id3v1 tag;
        tag.FileName = p.string();
        tag.Title = "New";
        tag.Artist = "Someone";
        tag.TrackNum = "2";
        tag.Genre = "Jazz";
        tag.WriteTag();
        const std::string newBlock = block("TAG", "New", "Someone", "", "", "", 2, 8);
        const std::string kept = c.overwrites ? c.content.substr(0, c.content.size() - 128) : c.content;
        EXPECT_EQ(readAll(p), kept + newBlock) << c.what;
        const Id3v1 back = readFile(p);
        EXPECT_TRUE(back.ID3v1Present) << c.what;
        EXPECT_EQ(back.Title, "New") << c.what;
        EXPECT_EQ(back.Genre, "Jazz") << c.what;
    }
}

TEST(Id3v1Write, SecondWriteReplacesTheAppendedBlock) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    writeAll(p, audio(300));
    Id3v1 tag;
    tag.FileName = p.string();
    tag.Title = "One";
    tag.WriteTag();
    tag.Title = "Two";
    tag.WriteTag();
    EXPECT_EQ(readAll(p), audio(300) + block("TAG", "Two", "", "", "", "", 0, 255));
}

TEST(Id3v1Errors, ShortMissingAndFolderPathsFail) {
    TempFolder dir;
    struct Case {
        const char *what;
        fs::path path;
        std::string content; // empty name: nothing created
    } cases[] = {
        {"127 bytes", dir.path / "short.mp3", "T" + std::string(126, 'x')},
        {"empty file", dir.path / "empty.mp3", ""},
        {"missing file", dir.path / "none.mp3", ""},
        {"missing folder", dir.path / "no" / "a.mp3", ""},
        {"folder", dir.path / "folder.mp3", ""},
    };
    writeAll(cases[0].path, cases[0].content);
    writeAll(cases[1].path, cases[1].content);
    fs::create_directory(cases[4].path);
    for (const auto &c : cases) {
        Id3v1 tag;
        tag.FileName = c.path.string();
        tag.Title = "keep";
        EXPECT_THROW(tag.ReadTag(), InOutError) << c.what;
        EXPECT_EQ(tag.Title, "") << c.what;
        tag.Title = "x";
        EXPECT_THROW(tag.WriteTag(), InOutError) << c.what;
    }
    EXPECT_EQ(readAll(cases[0].path), cases[0].content);
    EXPECT_EQ(fs::file_size(cases[1].path), 0u);
    EXPECT_FALSE(fs::exists(cases[2].path));
}

// A fault at any step throws, and the file is then either untouched or holds
// the whole new block: never part of it.
TEST(Id3v1Errors, FaultAtEveryStepIsReported) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    const std::string newContent = audio(300) + block("TAG", "T", "", "", "", "", 0, 255);
    Id3v1 tag;
    tag.FileName = p.string();
    tag.Title = "T";
    int faults = 0;
    for (long n = 1;; ++n) {
        writeAll(p, audio(300));
        tagvane::faults::failOperation(n);
        bool failed = false;
        try {
            tag.WriteTag();
        } catch (const InOutError &) {
            failed = true;
        }
        tagvane::faults::failOperation(0);
        const std::string content = readAll(p);
        if (!failed) {
            EXPECT_EQ(content, newContent);
            break;
        }
        ++faults;
        EXPECT_TRUE(content == audio(300) || content == newContent) << "fault at operation " << n;
        ASSERT_LT(n, 50);
    }
    EXPECT_GE(faults, 4); // open, size, seek, write at the least
}

TEST(Id3v1Values, ClearTagEmptiesValuesOnly) {
    Id3v1 tag;
    tag.Artist = tag.Album = tag.Title = tag.Year = tag.Comment = tag.Genre = tag.TrackNum = "x";
    tag.FileName = "/some/file.mp3";
    tag.ID3v1Present = true;
    tag.ClearTag();
    for (const std::string *value :
         {&tag.Artist, &tag.Album, &tag.Title, &tag.Year, &tag.Comment, &tag.Genre, &tag.TrackNum})
        EXPECT_EQ(*value, "");
    EXPECT_EQ(tag.FileName, "/some/file.mp3");
    EXPECT_TRUE(tag.ID3v1Present);
}

TEST(Id3v1Values, Trimming) {
    struct Case {
        std::string text, spaces, zeros;
    } cases[] = {
        {"", "", ""},
        {"abc", "abc", "abc"},
        {"abc  ", "abc", "abc  "},
        {std::string("abc\0\0", 5), std::string("abc\0\0", 5), "abc"},
        {"   ", "", "   "},
        {std::string("\0\0", 2), std::string("\0\0", 2), ""},
        {"  a  ", "  a", "  a  "},
        {std::string("a \0 ", 4), std::string("a \0", 3), std::string("a \0 ", 4)},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Id3v1::TrimSpaces(c.text), c.spaces);
        EXPECT_EQ(Id3v1::TrimZeros(c.text), c.zeros);
    }
}

TEST(Id3v1Genres, TableAndLookups) {
    const auto names = Id3v1::GenreNames();
    ASSERT_EQ(names.size(), 126u);
    for (size_t code = 0; code < names.size(); ++code) {
        EXPECT_EQ(Id3v1::GenreName(static_cast<uint8_t>(code)), names[code]);
        EXPECT_EQ(Id3v1::GenreIndex(std::string(names[code])), code) << names[code];
    }
    const std::pair<int, const char *> rows[] = {
        {0, "Blues"},        {12, "Other"},       {14, "R&B"},   {40, "AlternRock"},       {62, "Pop/Funk"},
        {67, "Psychadelic"}, {78, "Rock & Roll"}, {85, "Bebob"}, {93, "Psychedelic Rock"}, {109, "Porn Groove"},
        {123, "A capella"},  {125, "Dance Hall"},
    };
    for (const auto &[code, name] : rows)
        EXPECT_EQ(Id3v1::GenreName(static_cast<uint8_t>(code)), name);
    for (int code = 126; code < 256; ++code)
        EXPECT_EQ(Id3v1::GenreName(static_cast<uint8_t>(code)), "") << code;
    EXPECT_EQ(Id3v1::GenreIndex(""), 255);
    EXPECT_EQ(Id3v1::GenreIndex("Blues "), 255);
    EXPECT_EQ(Id3v1::GenreIndex("Psychedelic"), 255);
}
