// Our ID3v1.1 blocks checked against an independent reader and writer.
#include "id3v1/Id3.h"
#include "id3v2/testutil.h"

#include <gtest/gtest.h>

#include <taglib/id3v1tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tstring.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;
using tagvane::Id3v1;

using tagtest::mpegFrames;

namespace {

struct TempFolder {
    fs::path path;
    TempFolder() {
        char pattern[] = "/tmp/tagvane-v1interop-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { fs::remove_all(path); }
};


void writeAll(const fs::path &p, const std::string &bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string latin1(const TagLib::String &s) {
    return s.to8Bit(false);
}

struct Values {
    std::string title, artist, album, year, comment;
    unsigned track;
    unsigned genre;
};

// Latin-1 letters (0xA0-0xFF) are the same bytes in Windows-1252, which lets
// the other library's Latin-1 strings stand for our bytes.
const Values cases[] = {
    {"Waterloo", "ABBA", "Waterloo", "1974", "Eurovision", 1, 13},
    {std::string(30, 'T'), std::string(30, 'A'), std::string(30, 'L'), "2024", std::string(28, 'c'), 255, 125},
    {"Caf\xE9 \xFC", "Bj\xF6rk", "D\xE9j\xE0 vu", "1999", "Gr\xFC\xDF", 7, 0},
    {"Only title", "", "", "2001", "", 12, 255},
    {"Rock", "Band", "Album", "1980", "x", 3, 17},
};

} // namespace

TEST(Id3v1Interop, OurBlockReadsBackInTagLib) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    for (const auto &c : cases) {
        writeAll(p, mpegFrames(8));
        Id3v1 ours;
        ours.FileName = p.string();
        ours.Title = c.title;
        ours.Artist = c.artist;
        ours.Album = c.album;
        ours.Year = c.year;
        ours.Comment = c.comment;
        ours.TrackNum = std::to_string(c.track);
        ours.Genre = Id3v1::GenreName(static_cast<uint8_t>(c.genre));
        ours.WriteTag();

        TagLib::MPEG::File theirs(p.c_str(), false);
        ASSERT_TRUE(theirs.isValid());
        ASSERT_TRUE(theirs.hasID3v1Tag()) << c.title;
        TagLib::ID3v1::Tag *tag = theirs.ID3v1Tag();
        EXPECT_EQ(latin1(tag->title()), c.title);
        EXPECT_EQ(latin1(tag->artist()), c.artist);
        EXPECT_EQ(latin1(tag->album()), c.album);
        EXPECT_EQ(std::to_string(tag->year()), c.year);
        EXPECT_EQ(latin1(tag->comment()), c.comment);
        EXPECT_EQ(tag->track(), c.track);
        EXPECT_EQ(tag->genreNumber(), c.genre);
    }
}

TEST(Id3v1Interop, TagLibBlockReadsBackInOurs) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    for (const auto &c : cases) {
        writeAll(p, mpegFrames(8));
        {
            TagLib::MPEG::File theirs(p.c_str(), false);
            ASSERT_TRUE(theirs.isValid());
            TagLib::ID3v1::Tag *tag = theirs.ID3v1Tag(true);
            tag->setTitle(TagLib::String(c.title, TagLib::String::Latin1));
            tag->setArtist(TagLib::String(c.artist, TagLib::String::Latin1));
            tag->setAlbum(TagLib::String(c.album, TagLib::String::Latin1));
            tag->setYear(static_cast<unsigned>(std::stoul(c.year)));
            tag->setComment(TagLib::String(c.comment, TagLib::String::Latin1));
            tag->setTrack(c.track);
            tag->setGenreNumber(c.genre);
            ASSERT_TRUE(theirs.save(TagLib::MPEG::File::ID3v1, TagLib::File::StripOthers, TagLib::ID3v2::v4,
                                    TagLib::File::DoNotDuplicate));
        }
        Id3v1 ours;
        ours.FileName = p.string();
        ours.ReadTag();
        EXPECT_TRUE(ours.ID3v1Present);
        EXPECT_EQ(ours.Title, c.title);
        EXPECT_EQ(ours.Artist, c.artist);
        EXPECT_EQ(ours.Album, c.album);
        EXPECT_EQ(ours.Year, c.year);
        EXPECT_EQ(ours.Comment, c.comment);
        EXPECT_EQ(ours.TrackNum, std::to_string(c.track));
        EXPECT_EQ(Id3v1::GenreIndex(ours.Genre), c.genre);
        EXPECT_EQ(fs::file_size(p), 8 * 417 + 128u);
    }
}

// A file the other library tagged is overwritten in place by ours, and the
// other library then sees our values.
TEST(Id3v1Interop, OurWriteReplacesTagLibsBlock) {
    TempFolder dir;
    const fs::path p = dir.path / "a.mp3";
    writeAll(p, mpegFrames(4));
    {
        TagLib::MPEG::File theirs(p.c_str(), false);
        theirs.ID3v1Tag(true)->setTitle("Old");
        ASSERT_TRUE(theirs.save(TagLib::MPEG::File::ID3v1, TagLib::File::StripOthers, TagLib::ID3v2::v4,
                                TagLib::File::DoNotDuplicate));
    }
    Id3v1 ours;
    ours.FileName = p.string();
    ours.ReadTag();
    EXPECT_EQ(ours.Title, "Old");
    ours.Title = "New";
    ours.WriteTag();
    EXPECT_EQ(fs::file_size(p), 4 * 417 + 128u);
    TagLib::MPEG::File theirs(p.c_str(), false);
    EXPECT_EQ(latin1(theirs.ID3v1Tag()->title()), "New");
}
