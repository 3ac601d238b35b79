// Frames our model has no place for, written by an independent library, carried
// through one of our rewrites and read back by that library as they were.
#include "id3v2/Idtag24.h"
#include "id3v2/framemap.h"
#include "id3v2/testutil.h"

#include <gtest/gtest.h>

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>
#include <taglib/privateframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tstring.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

using namespace tagtest;
using tagvane::ID3v24;

namespace {


TagLib::String utf8(const std::string& s) { return TagLib::String(s, TagLib::String::UTF8); }
TagLib::String latin1(const std::string& s) { return TagLib::String(s, TagLib::String::Latin1); }
TagLib::ByteVector bytes(const std::string& s) { return TagLib::ByteVector(s.data(), static_cast<unsigned>(s.size())); }
std::string str(const TagLib::ByteVector& v) { return std::string(v.data(), v.size()); }

// Every value outside Latin-1 where the frame allows it, and binary bytes
// with NULs and 0xFF in them.
const std::string Artist = "\xD0\x9F\xD1\x91\xD1\x82\xD1\x80 \xE8\xA1\xA8"; // "Пётр 表"
const std::string UserDescription = "Stimmung \xE2\x9C\x93";                 // "Stimmung ✓"
const std::string UserValue = "ruhig \xE2\x80\x93 \xE2\x99\xAA";               // "ruhig – ♪"
const std::string RaterEmail = "rater@example.org";
const int Rating = 196;
const unsigned PlayCount = 70001; // more than one byte of counter
const std::string PrivOwner = "owner.example/tagvane";
const std::string PrivData = std::string("\x00\x01\xFF\xFE\x00", 5) + "data";
const std::string PictureDescription = "\xD0\x9E\xD0\xB1\xD0\xBB\xD0\xBE\xD0\xB6\xD0\xBA\xD0\xB0"; // "Обложка"
const std::string PictureMime = "image/png";
const auto PictureType = TagLib::ID3v2::AttachedPictureFrame::Artist;
const std::string OldAlbum = "Altes Album \xE9t\xE9"; // Latin-1 bytes

std::string pictureBytes() {
    std::string s(3000, '\0');
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<char>((i * 131 + 7) % 256);
    return s;
}

// One frame as it stands in the file: ID, flag bytes, content.
struct RawFrame {
    std::string id;
    std::string flags;
    std::string content;
    bool operator==(const RawFrame&) const = default;
};

// The frames of the tag at the start of `file`, in file order, read with the
// frame sizes of its version (plain in 2.3, syncsafe in 2.4).
std::vector<RawFrame> rawFrames(const std::string& file) {
    auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(file.at(i))); };
    const bool syncsafeSizes = file.at(3) == 4;
    const size_t end = 10 + ((byte(6) << 21) | (byte(7) << 14) | (byte(8) << 7) | byte(9));
    std::vector<RawFrame> frames;
    for (size_t pos = 10; pos + 10 <= end && file.at(pos) != '\0';) {
        const uint32_t size = syncsafeSizes ? (byte(pos + 4) << 21) | (byte(pos + 5) << 14) | (byte(pos + 6) << 7) |
                                                  byte(pos + 7)
                                            : (byte(pos + 4) << 24) | (byte(pos + 5) << 16) | (byte(pos + 6) << 8) |
                                                  byte(pos + 7);
        frames.push_back({file.substr(pos, 4), file.substr(pos + 8, 2), file.substr(pos + 10, size)});
        pos += 10 + size;
    }
    return frames;
}

std::vector<RawFrame> without(std::vector<RawFrame> frames, const std::string& id) {
    std::erase_if(frames, [&](const RawFrame& f) { return f.id == id; });
    return frames;
}

template <class T> T* only(TagLib::ID3v2::Tag* tag, const char* id) {
    const auto& list = tag->frameListMap()[id];
    EXPECT_EQ(list.size(), 1u) << id;
    return list.isEmpty() ? nullptr : dynamic_cast<T*>(list.front());
}

// The frames the fixture was written with, as the other library reads them.
void expectFrames(const std::string& path, unsigned major, TagLib::String::Type userEncoding,
                  const std::string& album, const std::string& what) {
    SCOPED_TRACE(what + (major == 3 ? ", 2.3 tag" : ", 2.4 tag"));
    TagLib::MPEG::File f(path.c_str());
    ASSERT_TRUE(f.isValid());
    ASSERT_TRUE(f.hasID3v2Tag());
    TagLib::ID3v2::Tag* tag = f.ID3v2Tag();
    EXPECT_EQ(tag->header()->majorVersion(), major);
    EXPECT_EQ(tag->frameList().size(), 6u);

    auto* talb = only<TagLib::ID3v2::TextIdentificationFrame>(tag, "TALB");
    ASSERT_NE(talb, nullptr);
    EXPECT_EQ(talb->textEncoding(), TagLib::String::Latin1);
    EXPECT_EQ(talb->toString(), latin1(album));

    auto* artist = only<TagLib::ID3v2::TextIdentificationFrame>(tag, "TPE1");
    ASSERT_NE(artist, nullptr);
    EXPECT_EQ(artist->textEncoding(), TagLib::String::UTF16);
    EXPECT_EQ(artist->toString(), utf8(Artist));

    auto* user = only<TagLib::ID3v2::UserTextIdentificationFrame>(tag, "TXXX");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->textEncoding(), userEncoding);
    EXPECT_EQ(user->description(), utf8(UserDescription));
    ASSERT_EQ(user->fieldList().size(), 2u);
    EXPECT_EQ(user->fieldList()[1], utf8(UserValue));

    auto* rating = only<TagLib::ID3v2::PopularimeterFrame>(tag, "POPM");
    ASSERT_NE(rating, nullptr);
    EXPECT_EQ(rating->email(), latin1(RaterEmail));
    EXPECT_EQ(rating->rating(), Rating);
    EXPECT_EQ(rating->counter(), PlayCount);

    auto* priv = only<TagLib::ID3v2::PrivateFrame>(tag, "PRIV");
    ASSERT_NE(priv, nullptr);
    EXPECT_EQ(priv->owner(), latin1(PrivOwner));
    EXPECT_TRUE(str(priv->data()) == PrivData);

    auto* picture = only<TagLib::ID3v2::AttachedPictureFrame>(tag, "APIC");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->textEncoding(), TagLib::String::UTF16);
    EXPECT_EQ(picture->description(), utf8(PictureDescription));
    EXPECT_EQ(picture->mimeType(), latin1(PictureMime));
    EXPECT_EQ(picture->type(), PictureType);
    EXPECT_TRUE(str(picture->picture()) == pictureBytes());

    // The audio is where the other library expects it.
    ASSERT_NE(f.audioProperties(), nullptr);
    EXPECT_EQ(f.audioProperties()->sampleRate(), 44100);
}

struct KeptCase {
    const char* what;
    TagLib::ID3v2::Version version;
    unsigned major;
    TagLib::String::Type userEncoding; // 2.3 has no UTF-8
    std::string newAlbum;
    bool grows; // the new tag no longer fits the area the other library left
};

} // namespace

TEST(InteropKeptFrames, TagLibFramesSurviveOurRewrite) {
    const std::vector<KeptCase> cases = {
        {"album fits", TagLib::ID3v2::v4, 4, TagLib::String::UTF8, "Neues Album", false},
        {"album fits", TagLib::ID3v2::v3, 3, TagLib::String::UTF16, "Neues Album", false},
        {"album grows the tag", TagLib::ID3v2::v4, 4, TagLib::String::UTF8, std::string(3000, 'n'), true},
        {"album grows the tag", TagLib::ID3v2::v3, 3, TagLib::String::UTF16, std::string(3000, 'n'), true},
    };
    const auto albumRow = std::find_if(std::begin(tagvane::FrameMap), std::end(tagvane::FrameMap),
                                       [](const tagvane::FrameMapRow& row) { return std::string(row.v24) == "TALB"; });
    ASSERT_NE(albumRow, std::end(tagvane::FrameMap));
    const std::string audio = mpegFrames(20);
    for (const KeptCase& c : cases) {
        const std::string what = std::string(c.what) + (c.major == 3 ? ", 2.3 tag" : ", 2.4 tag");
        TempFolder dir;
        const std::string song = dir / "song.mp3";
        writeFile(song, audio);
        {
            TagLib::MPEG::File f(song.c_str());
            TagLib::ID3v2::Tag* tag = f.ID3v2Tag(true);
            auto* artist = new TagLib::ID3v2::TextIdentificationFrame("TPE1", TagLib::String::UTF16);
            artist->setText(utf8(Artist));
            tag->addFrame(artist);
            auto* user = new TagLib::ID3v2::UserTextIdentificationFrame(c.userEncoding);
            user->setDescription(utf8(UserDescription));
            user->setText(utf8(UserValue));
            tag->addFrame(user);
            // The album between the kept frames: written back, it moves ahead of them.
            auto* album = new TagLib::ID3v2::TextIdentificationFrame("TALB", TagLib::String::Latin1);
            album->setText(latin1(OldAlbum));
            tag->addFrame(album);
            auto* rating = new TagLib::ID3v2::PopularimeterFrame;
            rating->setEmail(latin1(RaterEmail));
            rating->setRating(Rating);
            rating->setCounter(PlayCount);
            tag->addFrame(rating);
            auto* priv = new TagLib::ID3v2::PrivateFrame;
            priv->setOwner(latin1(PrivOwner));
            priv->setData(bytes(PrivData));
            tag->addFrame(priv);
            auto* picture = new TagLib::ID3v2::AttachedPictureFrame;
            picture->setTextEncoding(TagLib::String::UTF16);
            picture->setDescription(utf8(PictureDescription));
            picture->setMimeType(latin1(PictureMime));
            picture->setType(PictureType);
            picture->setPicture(bytes(pictureBytes()));
            tag->addFrame(picture);
            ASSERT_TRUE(f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, c.version)) << what;
        }
        expectFrames(song, c.major, c.userEncoding, OldAlbum, what + ", as written by TagLib");
        const std::string before = readFile(song);

        ID3v24 t;
        t.FileName = song;
        t.ReadTag(dir.pictures(), false);
        EXPECT_EQ(t.Version, c.major == 3 ? "2.3" : "2.4") << what;
        EXPECT_EQ(t.Album, OldAlbum) << what;
        // Only encoding 0 is read into the model, pictures included.
        EXPECT_EQ(t.LeadPerformer, "") << what;
        EXPECT_EQ(t.UserTextList.Count, 0) << what;
        EXPECT_EQ(t.PictureList.Count, 0) << what;
        EXPECT_EQ(t.KeptFrameCount(), 5) << what;
        t.*albumRow->member = c.newAlbum;
        t.WriteTag();

        expectFrames(song, 4, c.userEncoding, c.newAlbum, what + ", rewritten by us");
        const std::string after = readFile(song);
        EXPECT_TRUE(after.ends_with(audio)) << what;
        if (c.grows)
            EXPECT_GT(after.size(), before.size()) << what;
        else
            EXPECT_EQ(after.size(), before.size()) << what;
        // Kept as they stood: same IDs, order, flags and content bytes.
        const std::vector<RawFrame> written = rawFrames(after);
        ASSERT_FALSE(written.empty()) << what;
        EXPECT_EQ(written.front(), (RawFrame{"TALB", std::string(2, '\0'), NUL + c.newAlbum})) << what;
        EXPECT_TRUE(without(written, "TALB") == without(rawFrames(before), "TALB")) << what;
    }
}
