// Our ID3v2 tags checked against an independent reader and writer.
#include "id3v2/Idtag24.h"
#include "id3v2/testutil.h"

#include <gtest/gtest.h>

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tstring.h>
#include <taglib/urllinkframe.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;
using tagvane::ID3v24;

using tagtest::mpegFrames;

namespace {

struct TempFolder {
    fs::path path;
    TempFolder() {
        char pattern[] = "/tmp/tagvane-v2interop-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string file(const std::string& name) const { return (path / name).string(); }
};


void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string imageBytes(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 131 + 7) % 251);
    return s;
}

std::string latin1(const TagLib::String& s) {
    return s.to8Bit(false);
}

const std::string NUL(1, '\0');

TagLib::ID3v2::Frame* first(TagLib::ID3v2::Tag* tag, const char* id) {
    const auto& list = tag->frameListMap()[id];
    return list.isEmpty() ? nullptr : list.front();
}

} // namespace

TEST(InteropId3v2, OurTagsReadByTagLib) {
    TempFolder dir;
    const std::string song = dir.file("song.mp3");
    const std::string cover = imageBytes(70000);
    writeFile(dir.file("cover.jpg"), cover);
    // With an old tag that is too small, so the tag grows.
    writeFile(song, std::string("ID3\x03\0\0\0\0\0\x10", 10) + std::string(16, '\0') + mpegFrames(20));
    ID3v24 t;
    t.FileName = song;
    t.ReadTag(dir.file("pictures") + "/", false);
    t.Title = "Caf\xE9 au lait";
    t.Album = "Album";
    t.LeadPerformer = "Artist";
    t.TrackNum = "3/12";
    t.RecordTime = "2001-05-06";
    t.ContentType = "Rock";
    t.Produced = "produced";
    t.ArtistUrl = "http://artist.example/";
    t.CommercialUrl = "http://shop.example/";
    t.SetComment("short" + NUL, "eng", "A comment", 1);
    t.SetComment(NUL, "deu", "Ohne", 2);
    t.SetUserText("KEY" + NUL, "value", 1);
    t.SetUserUrl("site" + NUL, "http://user.example/", 1);
    t.SetPicture("front" + NUL, "Cover (front)", "image/jpeg" + NUL, dir.file("cover.jpg"), 1);
    t.WriteTag();

    TagLib::MPEG::File f(song.c_str());
    ASSERT_TRUE(f.isValid());
    ASSERT_TRUE(f.hasID3v2Tag());
    TagLib::ID3v2::Tag* tag = f.ID3v2Tag();
    EXPECT_EQ(tag->header()->majorVersion(), 4u);
    struct Text {
        const char* id;
        std::string value;
    };
    for (const Text& text : {Text{"TIT2", t.Title}, Text{"TALB", "Album"}, Text{"TPE1", "Artist"}, Text{"TRCK", "3/12"},
                             Text{"TDRC", "2001-05-06"}, Text{"TCON", "Rock"}, Text{"TPRO", "produced"}}) {
        auto* frame = first(tag, text.id);
        ASSERT_NE(frame, nullptr) << text.id;
        EXPECT_EQ(latin1(frame->toString()), text.value) << text.id;
    }
    for (const Text& url : {Text{"WOAR", "http://artist.example/"}, Text{"WCOM", "http://shop.example/"}}) {
        auto* frame = dynamic_cast<TagLib::ID3v2::UrlLinkFrame*>(first(tag, url.id));
        ASSERT_NE(frame, nullptr) << url.id;
        EXPECT_EQ(latin1(frame->url()), url.value);
    }
    const auto& comments = tag->frameListMap()["COMM"];
    ASSERT_EQ(comments.size(), 2u);
    auto* c1 = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(comments.front());
    auto* c2 = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(comments.back());
    EXPECT_EQ(std::string(c1->language().data(), 3), "eng");
    EXPECT_EQ(latin1(c1->description()), "short");
    EXPECT_EQ(latin1(c1->text()), "A comment");
    EXPECT_EQ(std::string(c2->language().data(), 3), "deu");
    EXPECT_EQ(latin1(c2->description()), "");
    EXPECT_EQ(latin1(c2->text()), "Ohne");

    auto* user = dynamic_cast<TagLib::ID3v2::UserTextIdentificationFrame*>(first(tag, "TXXX"));
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(latin1(user->description()), "KEY");
    ASSERT_EQ(user->fieldList().size(), 2u);
    EXPECT_EQ(latin1(user->fieldList()[1]), "value");
    auto* userUrl = dynamic_cast<TagLib::ID3v2::UserUrlLinkFrame*>(first(tag, "WXXX"));
    ASSERT_NE(userUrl, nullptr);
    EXPECT_EQ(latin1(userUrl->description()), "site");
    EXPECT_EQ(latin1(userUrl->url()), "http://user.example/");

    auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(first(tag, "APIC"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(latin1(picture->mimeType()), "image/jpeg");
    EXPECT_EQ(picture->type(), TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    EXPECT_EQ(latin1(picture->description()), "front");
    const TagLib::ByteVector data = picture->picture();
    EXPECT_TRUE(std::string(data.data(), data.size()) == cover);
    // The audio is where the other library expects it.
    EXPECT_EQ(f.audioProperties()->sampleRate(), 44100);
}

TEST(InteropId3v2, TagLibTagsReadByUs) {
    for (auto version : {TagLib::ID3v2::v3, TagLib::ID3v2::v4}) {
        TempFolder dir;
        const std::string song = dir.file("song.mp3");
        writeFile(song, mpegFrames(20));
        const std::string cover = imageBytes(5000);
        {
            TagLib::MPEG::File f(song.c_str());
            TagLib::ID3v2::Tag* tag = f.ID3v2Tag(true);
            auto text = [&](const char* id, const char* value) {
                auto* frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::Latin1);
                frame->setText(TagLib::String(value, TagLib::String::Latin1));
                tag->addFrame(frame);
            };
            text("TIT2", "Title \xE9");
            text("TALB", "Album");
            text("TPE1", "Artist");
            text("TCOM", "Composer");
            text("TRCK", "7");
            text("TIT1", "Group");
            auto* url = new TagLib::ID3v2::UrlLinkFrame("WOAR");
            url->setUrl("http://artist.example/");
            tag->addFrame(url);
            auto* comment = new TagLib::ID3v2::CommentsFrame(TagLib::String::Latin1);
            comment->setLanguage("eng");
            comment->setDescription("desc");
            comment->setText("comment text");
            tag->addFrame(comment);
            auto* user = new TagLib::ID3v2::UserTextIdentificationFrame(TagLib::String::Latin1);
            user->setDescription("KEY");
            user->setText("value");
            tag->addFrame(user);
            auto* userUrl = new TagLib::ID3v2::UserUrlLinkFrame(TagLib::String::Latin1);
            userUrl->setDescription("site");
            userUrl->setUrl("http://user.example/");
            tag->addFrame(userUrl);
            auto* picture = new TagLib::ID3v2::AttachedPictureFrame;
            picture->setTextEncoding(TagLib::String::Latin1);
            picture->setMimeType("image/png");
            picture->setType(TagLib::ID3v2::AttachedPictureFrame::BackCover);
            picture->setDescription("back");
            picture->setPicture(TagLib::ByteVector(cover.data(), static_cast<unsigned>(cover.size())));
            tag->addFrame(picture);
            ASSERT_TRUE(f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, version));
        }
        ID3v24 t;
        t.FileName = song;
        t.ReadTag(dir.file("pictures") + "/", false);
        const std::string v = version == TagLib::ID3v2::v3 ? "2.3" : "2.4";
        EXPECT_EQ(t.Version, v);
        EXPECT_EQ(t.Title, "Title \xE9") << v;
        EXPECT_EQ(t.Album, "Album") << v;
        EXPECT_EQ(t.LeadPerformer, "Artist") << v;
        EXPECT_EQ(t.Composer, "Composer") << v;
        EXPECT_EQ(t.TrackNum, "7") << v;
        EXPECT_EQ(t.ContentGroup, "Group") << v;
        EXPECT_EQ(t.ArtistUrl, "http://artist.example/") << v;
        ASSERT_EQ(t.CommentList.Count, 1) << v;
        EXPECT_EQ(t.CommentList.Language[1], "eng");
        EXPECT_EQ(t.CommentList.Description[1], "desc" + NUL);
        EXPECT_EQ(t.CommentList.Text[1], "comment text");
        ASSERT_EQ(t.UserTextList.Count, 1) << v;
        EXPECT_EQ(t.UserTextList.Description[1], "KEY" + NUL);
        EXPECT_EQ(t.UserTextList.Value[1], "value");
        ASSERT_EQ(t.UserUrlList.Count, 1) << v;
        EXPECT_EQ(t.UserUrlList.Description[1], "site" + NUL);
        EXPECT_EQ(t.UserUrlList.Url[1], "http://user.example/");
        ASSERT_EQ(t.PictureList.Count, 1) << v;
        EXPECT_EQ(t.PictureList.Mime[1], "image/png" + NUL);
        EXPECT_EQ(t.PictureList.PictureType[1], "Cover (back)");
        EXPECT_EQ(t.PictureList.Description[1], "back" + NUL);
        EXPECT_TRUE(readFile(t.PictureList.PictureFile[1]) == cover) << v;
    }
}
