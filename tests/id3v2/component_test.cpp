// ReadTag's header handling, header-only reads, and the list operations.
#include "id3v2/Idtag24.h"
#include "id3v2/testutil.h"
#include "platform/InOutError.h"

#include <gtest/gtest.h>

using namespace tagtest;
using tagvane::ID3v24;

TEST(Component, HeaderDecidesWhatIsRead) {
    struct Case {
        const char* what;
        std::string file;
        bool present;
        uint32_t oldSize;
        std::string version; // after a read of a 2.3 tag
        std::string title;
    };
    const std::string frames = frame24("TIT2", NUL + "t");
    const std::vector<Case> cases = {
        {"size bytes 00 00 02 01", "ID3\x04" + NUL + NUL + std::string("\x00\x00\x02\x01", 4) + frames, true, 257,
         "2.4", "t"},
        {"header flags 0x40", tagHeader(4, 20, 0x40) + frames, true, 0, "2.3", ""},
        {"major version 5", tagHeader(5, 20) + frames, true, 0, "2.3", ""},
        {"revision is not examined", "ID3\x04\x07" + NUL + syncsafe(20) + frames, true, 20, "2.4", "t"},
        {"no tag", audio(20), false, 0, "2.3", ""},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        ID3v24 t;
        writeFile(dir / "old.mp3", tag(3, frame23("TIT2", NUL + "old") + frame23("COMM", NUL + "eng" + NUL + "c")));
        t.FileName = dir / "old.mp3";
        t.ReadTag(dir.pictures(), false);
        ASSERT_EQ(t.CommentList.Count, 1);
        writeFile(dir / "a.mp3", c.file);
        t.FileName = dir / "a.mp3";
        t.ReadTag(dir.pictures(), false);
        EXPECT_EQ(t.Id3v2present, c.present) << c.what;
        EXPECT_EQ(t.OldTagSize(), c.oldSize) << c.what;
        EXPECT_EQ(t.Version, c.version) << c.what;
        EXPECT_EQ(t.Title, c.title) << c.what;
        EXPECT_EQ(t.CommentList.Count, 0) << c.what;
    }
}

TEST(Component, HeaderOnlyLeavesTheModelAlone) {
    TempFolder dir;
    ID3v24 t;
    t.Title = "mine";
    t.SetComment(NUL, "eng", "one", 1);
    t.SetComment(NUL, "eng", "two", 2);
    writeFile(dir / "none.mp3", audio(50));
    t.FileName = dir / "none.mp3";
    t.ReadTag(dir.pictures(), true);
    EXPECT_FALSE(t.Id3v2present);
    EXPECT_EQ(t.CommentList.Count, 2);
    EXPECT_EQ(t.Title, "mine");
    writeFile(dir / "tagged.mp3", tag(2, frame22("TT2", NUL + "theirs"), 100));
    t.FileName = dir / "tagged.mp3";
    t.ReadTag(dir.pictures(), true);
    EXPECT_TRUE(t.Id3v2present);
    EXPECT_EQ(t.OldTagSize(), 113u);
    EXPECT_EQ(t.Version, "2.2");
    EXPECT_EQ(t.Title, "mine");
    EXPECT_EQ(t.CommentList.Text[2], "two");
    EXPECT_FALSE(fs::exists(dir.pictures()));
}

TEST(Component, ShortFilesFailToRead) {
    TempFolder dir;
    writeFile(dir / "short.mp3", "ID3");
    ID3v24 t;
    t.FileName = dir / "short.mp3";
    EXPECT_THROW(t.ReadTag(dir.pictures(), false), tagvane::InOutError);
    t.FileName = dir / "missing.mp3";
    EXPECT_THROW(t.ReadTag(dir.pictures(), false), tagvane::InOutError);
}

TEST(Component, SetAndDeleteEntries) {
    ID3v24 t;
    for (int i = 1; i <= 3; ++i)
        t.SetComment("d" + std::to_string(i) + NUL, "eng", "c" + std::to_string(i), i);
    EXPECT_EQ(t.CommentList.Count, 3);
    t.SetComment("x" + NUL, "deu", "replaced", 1);
    EXPECT_EQ(t.CommentList.Count, 3);
    EXPECT_EQ(t.CommentList.Text[1], "replaced");
    EXPECT_EQ(t.CommentList.Language[1], "deu");

    t.DeleteComment(1);
    EXPECT_EQ(t.CommentList.Count, 2);
    EXPECT_EQ(t.CommentList.Text[1], "c2");
    EXPECT_EQ(t.CommentList.Description[2], "d3" + NUL);
    t.SetComment(NUL, "eng", "c3", 3);
    t.DeleteComment(3);
    EXPECT_EQ(t.CommentList.Count, 2);
    EXPECT_EQ(t.CommentList.Text[2], "c3"); // nothing moved, the old last entry stays behind
    EXPECT_EQ(t.CommentList.Text[3], "c3");

    // Every list moves all its columns together.
    t.SetPicture("a" + NUL, "Other", "image/png" + NUL, "/p/1", 1);
    t.SetPicture("b" + NUL, "Cover (front)", "image/jpeg" + NUL, "/p/2", 2);
    t.DeletePicture(1);
    EXPECT_EQ(t.PictureList.Count, 1);
    EXPECT_EQ(t.PictureList.Description[1], "b" + NUL);
    EXPECT_EQ(t.PictureList.PictureType[1], "Cover (front)");
    EXPECT_EQ(t.PictureList.Mime[1], "image/jpeg" + NUL);
    EXPECT_EQ(t.PictureList.PictureFile[1], "/p/2");
    t.SetUserText("k" + NUL, "v", 1);
    t.SetUserUrl("k" + NUL, "u", 1);
    t.SetTerms("eng", "t", 1);
    t.SetLyric(NUL, "eng", "l", 1);
    t.DeleteUserText(1);
    t.DeleteUserUrl(1);
    t.DeleteTerms(1);
    t.DeleteLyric(1);
    t.DeleteLyric(1); // on an empty list: nothing happens
    EXPECT_EQ(t.UserTextList.Count + t.UserUrlList.Count + t.TermsList.Count + t.LyricsList.Count, 0);
}

TEST(Component, ClearTagEmptiesValuesOnly) {
    ID3v24 t;
    t.Title = "t";
    t.Produced = "p";
    t.Version = "2.3";
    t.Id3v2present = true;
    t.SetTerms("eng", "x", 1);
    t.ClearTag();
    EXPECT_EQ(t.Title, "");
    EXPECT_EQ(t.Produced, "");
    EXPECT_EQ(t.Version, "2.3");
    EXPECT_TRUE(t.Id3v2present);
    EXPECT_EQ(t.TermsList.Count, 1);
}

TEST(Component, SyncsafeAndPictureTypes) {
    EXPECT_EQ(tagvane::DecodeSyncsafe(0, 0, 2, 1), 257u);
    EXPECT_EQ(tagvane::DecodeSyncsafe(0, 0, 0, 0xFF), 255u); // high bits are not masked
    EXPECT_EQ(tagvane::EncodeSyncsafe(257), (std::array<uint8_t, 4>{0, 0, 2, 1}));
    EXPECT_EQ(tagvane::EncodeSyncsafe((1u << 28) - 1), (std::array<uint8_t, 4>{127, 127, 127, 127}));
    EXPECT_EQ(tagvane::PictureTypeName(0), "Other");
    EXPECT_EQ(tagvane::PictureTypeName(3), "Cover (front)");
    EXPECT_EQ(tagvane::PictureTypeName(17), "A bright coloured fish");
    EXPECT_EQ(tagvane::PictureTypeName(20), "Publisher/Studio logotype");
    EXPECT_EQ(tagvane::PictureTypeName(21), "");
    for (int code = 0; code <= 20; ++code)
        EXPECT_EQ(tagvane::PictureTypeCode(tagvane::PictureTypeName(static_cast<uint8_t>(code))), code);
    EXPECT_EQ(tagvane::PictureTypeCode("cover (front)"), 0);
    EXPECT_EQ(tagvane::PictureTypeCode(""), 0);
}
