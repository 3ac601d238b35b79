// The sample files checked by an independent reader: the hand-built 2.2 and
// 2.3 tags, and the audio of every file, as TagLib sees them.
#ifdef TAGVANE_HAVE_TAGLIB

#include "samplefiles.h"

#include <gtest/gtest.h>

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tstring.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/urllinkframe.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

struct TempFolder {
    fs::path path;
    TempFolder() {
        char pattern[] = "/tmp/tagvane-samples-taglib-XXXXXX";
        path = mkdtemp(pattern);
        tagvane::makeSamples(path.string());
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string file(const std::string &name) const { return (path / name).string(); }
};

std::string latin1(const TagLib::String &s) {
    return s.to8Bit(false);
}
std::string bytes(const TagLib::ByteVector &v) {
    return std::string(v.data(), v.size());
}

template <class Frame> Frame *first(TagLib::ID3v2::Tag *tag, const char *id) {
    const auto &list = tag->frameListMap()[id];
    return list.isEmpty() ? nullptr : dynamic_cast<Frame *>(list.front());
}

TEST(SamplesTagLib, AudioOfEveryFile) {
    TempFolder dir;
    for (const std::string &name : tagvane::sampleFileNames()) {
        SCOPED_TRACE(name);
        TagLib::MPEG::File f(dir.file(name).c_str());
        ASSERT_TRUE(f.isValid());
        const TagLib::MPEG::Properties *audio = f.audioProperties();
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->version(), TagLib::MPEG::Header::Version1);
        EXPECT_EQ(audio->layer(), 3);
        EXPECT_EQ(audio->bitrate(), 128);
        EXPECT_EQ(audio->sampleRate(), 44100);
        EXPECT_EQ(audio->channels(), 2);
        // 77 frames of 1152 samples each.
        EXPECT_NEAR(audio->lengthInMilliseconds(), 2011, 20);
    }
}

TEST(SamplesTagLib, Version22Tag) {
    TempFolder dir;
    TagLib::MPEG::File f(dir.file("03-id3v2.2.mp3").c_str());
    ASSERT_TRUE(f.hasID3v2Tag());
    TagLib::ID3v2::Tag *tag = f.ID3v2Tag();
    EXPECT_EQ(tag->header()->majorVersion(), 2u);
    EXPECT_EQ(latin1(tag->title()), "Old Lighthouse");
    EXPECT_EQ(latin1(tag->artist()), "Harbour Lights");
    EXPECT_EQ(latin1(tag->album()), "Coastline");
    EXPECT_EQ(tag->year(), 1997u);
    EXPECT_EQ(tag->track(), 2u);
    EXPECT_EQ(latin1(tag->genre()), "Folk");
    // TagLib names 2.2 frames by their 2.4 IDs.
    auto *comment = first<TagLib::ID3v2::CommentsFrame>(tag, "COMM");
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(bytes(comment->language()), "eng");
    EXPECT_EQ(latin1(comment->text()), "A version 2.2 tag, as early taggers wrote it.");
    auto *picture = first<TagLib::ID3v2::AttachedPictureFrame>(tag, "APIC");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(latin1(picture->mimeType()), "image/jpeg");
    EXPECT_EQ(picture->type(), TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    EXPECT_EQ(latin1(picture->description()), "Sunset");
    EXPECT_EQ(bytes(picture->picture()), tagvane::sunsetJpeg());
    EXPECT_FALSE(f.hasID3v1Tag());
}

TEST(SamplesTagLib, Version23Tag) {
    TempFolder dir;
    TagLib::MPEG::File f(dir.file("04-id3v2.3.mp3").c_str());
    ASSERT_TRUE(f.hasID3v2Tag());
    TagLib::ID3v2::Tag *tag = f.ID3v2Tag();
    EXPECT_EQ(tag->header()->majorVersion(), 3u);
    EXPECT_EQ(latin1(tag->title()), "Northern Road");
    EXPECT_EQ(latin1(tag->artist()), "The Quiet Engines");
    EXPECT_EQ(latin1(tag->album()), "Signal Fires");
    EXPECT_EQ(tag->year(), 2001u);
    EXPECT_EQ(tag->track(), 5u);

    const auto &comments = tag->frameListMap()["COMM"];
    ASSERT_EQ(comments.size(), 2u);
    auto *second = dynamic_cast<TagLib::ID3v2::CommentsFrame *>(comments.back());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(bytes(second->language()), "deu");
    EXPECT_EQ(latin1(second->description()), "Notiz");
    EXPECT_EQ(latin1(second->text()), "Aufgenommen an einem Abend.");

    auto *lyrics = first<TagLib::ID3v2::UnsynchronizedLyricsFrame>(tag, "USLT");
    ASSERT_NE(lyrics, nullptr);
    EXPECT_EQ(latin1(lyrics->text()), "Down the northern road\r\nthe signal fires burn low");
    auto *user = first<TagLib::ID3v2::UserTextIdentificationFrame>(tag, "TXXX");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(latin1(user->description()), "Mood");
    auto *link = first<TagLib::ID3v2::UserUrlLinkFrame>(tag, "WXXX");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(latin1(link->url()), "https://example.com/quiet-engines");
    EXPECT_EQ(tag->frameListMap()["USER"].size(), 1u);
    auto *picture = first<TagLib::ID3v2::AttachedPictureFrame>(tag, "APIC");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(latin1(picture->mimeType()), "image/png");
    EXPECT_EQ(picture->type(), TagLib::ID3v2::AttachedPictureFrame::BandLogo);
    EXPECT_EQ(bytes(picture->picture()), tagvane::shapesPng());
}

TEST(SamplesTagLib, BothTagsAndNone) {
    TempFolder dir;
    {
        TagLib::MPEG::File f(dir.file("12-id3v2.4-and-id3v1.mp3").c_str());
        ASSERT_TRUE(f.hasID3v2Tag());
        ASSERT_TRUE(f.hasID3v1Tag());
        EXPECT_EQ(f.ID3v2Tag()->header()->majorVersion(), 4u);
        EXPECT_EQ(latin1(f.ID3v1Tag()->title()), "Harbour Lights at Midnight");
        EXPECT_EQ(latin1(f.ID3v1Tag()->genre()), "Ambient");
        EXPECT_EQ(f.ID3v1Tag()->track(), 7u);
    }
    {
        TagLib::MPEG::File f(dir.file("01-no-tags.mp3").c_str());
        EXPECT_FALSE(f.hasID3v2Tag());
        EXPECT_FALSE(f.hasID3v1Tag());
        EXPECT_FALSE(f.hasAPETag());
    }
}

} // namespace

#endif
