// The version 2.4 writer and KillTag, compared byte for byte with files built
// here step by step: blank the old tag area, insert zero blocks of 1024 bytes
// in front when the frames do not fit, then write header and frames at offset 0.
#include "id3v2/Idtag24.h"
#include "id3v2/framemap.h"
#include "id3v2/testutil.h"
#include "platform/InOutError.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <vector>

using namespace tagtest;
using tagvane::ID3v24;
using tagvane::InOutError;

namespace {

std::string textFrame(const std::string& id, const std::string& value) {
    return frame24(id, NUL + value);
}

struct Writer {
    TempFolder dir;
    ID3v24 tag;
    std::string path = dir / "song.mp3";
    std::string before;
    void load(const std::string& bytes) {
        before = bytes;
        writeFile(path, bytes);
        tag.FileName = path;
        tag.ReadTag(dir.pictures(), false);
    }
    std::string after() const { return readFile(path); }
    std::vector<std::string> folder() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path))
            if (e.is_regular_file() || e.is_symlink())
                names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace

TEST(Writer, TagAreaInPlaceOrGrown) {
    struct Case {
        const char* what;
        std::string original;
        size_t titleLength; // the frames are one TIT2 of this many letters, or none for 0
        bool present;
        uint32_t old;
    };
    const std::string a = audio(3000);
    const std::vector<Case> cases = {
        {"old 1000, new 600: in place", tag(4, textFrame("TALB", "x"), 1000 - 12) + a, 589, true, 1000},
        {"old 1000, new 1000 exactly: in place", tag(4, "", 1000) + a, 989, true, 1000},
        {"old 100, new 600: grows by 1024", tag(4, "", 100) + a, 589, true, 100},
        {"old 1000, new 1500: frames reach over the blanked header", tag(4, "", 1000) + a, 1489, true, 1000},
        {"no tag, new 1500: 2048 bytes inserted", a, 1489, false, 0},
        {"no tag, nothing to write: 1024 bytes inserted", a, 0, false, 0},
        {"old 2.3 tag in place", tag(3, frame23("TIT2", NUL + "old"), 500) + a, 20, true, 514},
        {"old 2.2 tag grows", tag(2, frame22("TT2", NUL + "old"), 10) + a, 200, true, 20},
        {"unread tag (flags set), frames to write", tagHeader(4, 500, 0x40) + std::string(500, 'x') + a, 100, true, 0},
        {"unread tag (version 5), nothing to write", tagHeader(5, 500) + std::string(500, 'x') + a, 0, true, 0},
        {"tag declared longer than the file", tagHeader(4, 5000) + textFrame("TIT2", "t"), 100, true, 5000},
    };
    for (const auto& c : cases) {
        Writer w;
        w.load(c.original);
        ASSERT_EQ(w.tag.OldTagSize(), c.old) << c.what;
        ASSERT_EQ(w.tag.Id3v2present, c.present) << c.what;
        w.tag.Album.clear();
        w.tag.Title = std::string(c.titleLength, 't');
        w.tag.WriteTag();
        const std::string frames = c.titleLength ? textFrame("TIT2", w.tag.Title) : "";
        const std::string expected = expectedWrite(c.original, c.present, c.old, frames);
        EXPECT_EQ(w.after().size(), expected.size()) << c.what;
        EXPECT_TRUE(w.after() == expected) << c.what;
        // Audio bytes are never overwritten: they end the file unchanged.
        if (c.original.size() >= a.size() && c.original.substr(c.original.size() - a.size()) == a) {
            EXPECT_TRUE(w.after().substr(w.after().size() - a.size()) == a) << c.what;
        }
        EXPECT_EQ(w.folder(), std::vector<std::string>{"song.mp3"}) << c.what;
    }
}

TEST(Writer, KnownLayouts) {
    Writer grown;
    grown.load(tag(4, "", 100) + audio(500));
    grown.tag.Title = std::string(589, 't');
    grown.tag.WriteTag();
    const std::string g = grown.after();
    EXPECT_EQ(g.size(), 110u + 500 + 1024);
    EXPECT_EQ(g.substr(6, 4), syncsafe(600));
    EXPECT_EQ(g.substr(610, 1024 - 610), std::string(1024 - 610, '\0'));
    EXPECT_EQ(g.substr(1024, 10), "ID3\x04" + NUL + NUL + syncsafe(110)); // left by blanking
    EXPECT_EQ(g.substr(1034, 100), std::string(100, '\0'));
    EXPECT_EQ(g.substr(1134), audio(500));

    // A tag size above 2^21 uses the first size byte; all four stay below 128.
    Writer large;
    large.load(audio(10));
    large.tag.Title = std::string(3000000, 'x');
    large.tag.WriteTag();
    EXPECT_EQ(large.after().substr(6, 4), std::string("\x01\x37\x0D\x4B", 4)); // 3,000,011

    Writer fresh;
    fresh.load(audio(700));
    fresh.tag.WriteTag();
    EXPECT_EQ(fresh.after(), "ID3\x04" + NUL + NUL + syncsafe(0) + std::string(1014, '\0') + audio(700));
}

TEST(Writer, FrameBytes) {
    struct Case {
        const char* what;
        std::function<void(ID3v24&)> set;
        std::string frames;
    };
    const std::vector<Case> cases = {
        {"a title", [](ID3v24& t) { t.Title = "abc"; },
         "TIT2" + std::string("\x00\x00\x00\x04", 4) + NUL + NUL + NUL + "abc"},
        {"a URL has no encoding byte", [](ID3v24& t) { t.ArtistUrl = "http://x"; },
         std::string("WOAR") + std::string("\x00\x00\x00\x08", 4) + NUL + NUL + "http://x"},
        {"a comment: S = 1 + 5 + 4", [](ID3v24& t) { t.SetComment(NUL, "eng", "hello", 1); },
         std::string("COMM") + std::string("\x00\x00\x00\x0A", 4) + NUL + NUL + NUL + "eng" + NUL + "hello"},
        {"languages are three bytes, XXX when shorter",
         [](ID3v24& t) {
             t.SetComment("d" + NUL, "english", "", 1);
             t.SetComment(NUL, "e", "x", 2);
             t.SetLyric(NUL, "", "la", 1);
             t.SetTerms("de", "terms", 1);
         },
         frame24("USLT", NUL + "XXX" + NUL + "la") + frame24("USER", NUL + "XXX" + "terms") +
             frame24("COMM", NUL + "eng" + "d" + NUL) + frame24("COMM", NUL + "XXX" + NUL + "x")},
        {"user text and URL",
         [](ID3v24& t) {
             t.SetUserText("k" + NUL, "v", 1);
             t.SetUserUrl("s" + NUL, "http://u", 1);
         },
         frame24("WXXX", NUL + "s" + NUL + "http://u") + frame24("TXXX", NUL + "k" + NUL + "v")},
        {"single values in frame map order, then the lists in writer order",
         [](ID3v24& t) {
             t.Produced = "p";
             t.Album = "a";
             t.CommercialUrl = "c";
             t.SetComment(NUL, "eng", "c", 1);
             t.SetUserText(NUL, "t", 1);
             t.SetUserUrl(NUL, "u", 1);
             t.SetTerms("eng", "r", 1);
             t.SetLyric(NUL, "eng", "l", 1);
         },
         frame24("TALB", NUL + "a") + frame24("WCOM", "c") + frame24("TPRO", NUL + "p") +
             frame24("USLT", NUL + "eng" + NUL + "l") + frame24("USER", NUL + "eng" + "r") +
             frame24("WXXX", NUL + NUL + "u") + frame24("TXXX", NUL + NUL + "t") +
             frame24("COMM", NUL + "eng" + NUL + "c")},
        {"entries of a list are written 1 to Count only",
         [](ID3v24& t) {
             t.SetComment(NUL, "eng", "one", 1);
             t.SetComment(NUL, "eng", "two", 2);
             t.DeleteComment(1);
         },
         frame24("COMM", NUL + "eng" + NUL + "two")},
        {"a frame larger than 524,288 bytes", [](ID3v24& t) { t.Title = std::string(600000, 'L'); },
         textFrame("TIT2", std::string(600000, 'L'))},
    };
    for (const auto& c : cases) {
        Writer w;
        w.load(audio(100));
        c.set(w.tag);
        w.tag.WriteTag();
        EXPECT_TRUE(w.after() == expectedWrite(audio(100), false, 0, c.frames)) << c.what;
    }
}

TEST(Writer, PicturesComeFromTheirFiles) {
    Writer w;
    const std::string big = audio(700000); // two blocks: 524,288 and 175,712 bytes
    const std::string small = audio(10);
    writeFile(w.dir / "big.jpg", big);
    writeFile(w.dir / "small.png", small);
    w.load(audio(100));
    w.tag.SetPicture(NUL, "Cover (back)", "image/jpeg" + NUL, w.dir / "big.jpg", 1);
    w.tag.SetPicture("d" + NUL, "no such type", "image/png" + NUL, w.dir / "small.png", 2);
    w.tag.WriteTag();
    const std::string frames = frame24("APIC", NUL + "image/jpeg" + NUL + "\x04" + NUL + big) +
                               frame24("APIC", NUL + "image/png" + NUL + NUL + "d" + NUL + small);
    EXPECT_TRUE(w.after() == expectedWrite(audio(100), false, 0, frames));

    // Reading it back gives the pictures byte for byte.
    ID3v24 again;
    again.FileName = w.path;
    again.ReadTag(w.dir.pictures(), false);
    ASSERT_EQ(again.PictureList.Count, 2);
    EXPECT_EQ(again.PictureList.PictureType[1], "Cover (back)");
    EXPECT_EQ(again.PictureList.PictureType[2], "Other");
    EXPECT_TRUE(readFile(again.PictureList.PictureFile[1]) == big);
    EXPECT_EQ(readFile(again.PictureList.PictureFile[2]), small);
}

TEST(Writer, WhatIsWrittenReadsBack) {
    Writer w;
    w.load(tag(4, "", 50) + audio(100));
    for (const auto& row : tagvane::FrameMap)
        w.tag.*row.member = std::string(row.property) + " value";
    for (int i = 1; i <= 3; ++i) {
        const std::string n = std::to_string(i);
        w.tag.SetComment("c" + n + NUL, "eng", "comment " + n, i);
        w.tag.SetLyric("l" + n + NUL, "deu", "lyrics " + n, i);
        w.tag.SetUserText("u" + n + NUL, "value " + n, i);
        w.tag.SetUserUrl("w" + n + NUL, "http://" + n, i);
        w.tag.SetTerms("fra", "terms " + n, i);
    }
    w.tag.WriteTag();
    ID3v24 r;
    r.FileName = w.path;
    r.ReadTag(w.dir.pictures(), false);
    EXPECT_EQ(r.Version, "2.4");
    for (const auto& row : tagvane::FrameMap)
        EXPECT_EQ(r.*row.member, w.tag.*row.member) << row.property;
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(r.CommentList.Description[i], w.tag.CommentList.Description[i]);
        EXPECT_EQ(r.CommentList.Text[i], w.tag.CommentList.Text[i]);
        EXPECT_EQ(r.LyricsList.Language[i], "deu");
        EXPECT_EQ(r.UserTextList.Value[i], w.tag.UserTextList.Value[i]);
        EXPECT_EQ(r.UserUrlList.Url[i], w.tag.UserUrlList.Url[i]);
        EXPECT_EQ(r.TermsList.Text[i], w.tag.TermsList.Text[i]);
    }
    EXPECT_EQ(r.CommentList.Count, 3);
    EXPECT_EQ(r.TermsList.Count, 3);
}

TEST(Writer, RefusesWhatCannotBeWritten) {
    {
        // A size field whose high bits are set decodes to 2^28: the tag cannot be written back.
        Writer w;
        w.load("ID3\x04" + NUL + NUL + "\x80" + NUL + NUL + NUL + std::string(100, '\0') + audio(100));
        ASSERT_EQ(w.tag.OldTagSize(), 1u << 28);
        w.tag.Title = "t";
        EXPECT_THROW(w.tag.WriteTag(), InOutError);
        EXPECT_THROW(w.tag.KillTag(), InOutError);
        EXPECT_EQ(w.after(), w.before);
    }
    {
        // A picture of 2^28 bytes (sparse) would make the tag too large.
        Writer w;
        w.load(audio(100));
        const std::string huge = w.dir / "huge.jpg";
        writeFile(huge, "");
        ASSERT_EQ(truncate(huge.c_str(), 1 << 28), 0);
        w.tag.SetPicture(NUL, "Other", "image/jpeg" + NUL, huge, 1);
        EXPECT_THROW(w.tag.WriteTag(), InOutError);
        EXPECT_EQ(w.after(), w.before);
        EXPECT_EQ(w.folder(), (std::vector<std::string>{"huge.jpg", "song.mp3"}));
    }
    {
        // A picture file that is gone fails before the MP3 file is touched.
        Writer w;
        w.load(tag(4, "", 500) + audio(100));
        w.tag.Title = "t";
        w.tag.SetPicture(NUL, "Other", "image/jpeg" + NUL, w.dir / "gone.jpg", 1);
        EXPECT_THROW(w.tag.WriteTag(), InOutError);
        EXPECT_EQ(w.after(), w.before);
    }
}

TEST(Writer, KillTag) {
    struct Case {
        const char* what;
        std::string original;
        std::string expected;
    };
    const std::string a = audio(200);
    const std::vector<Case> cases = {
        {"tag of 1000", tag(4, textFrame("TIT2", "t"), 1000 - 12) + a,
         std::string("ID3\x04") + NUL + NUL + std::string("\x00\x00\x07\x68", 4) + std::string(1000, '\0') + a},
        {"2.3 tag", tag(3, frame23("TIT2", NUL + "t"), 20) + a,
         "ID3\x04" + NUL + NUL + syncsafe(32) + std::string(32, '\0') + a},
        {"no tag: unchanged", a, a},
        {"unread tag: only the header", tagHeader(4, 50, 0x10) + std::string(50, 'x') + a,
         "ID3\x04" + NUL + NUL + syncsafe(0) + std::string(50, 'x') + a},
    };
    for (const auto& c : cases) {
        Writer w;
        w.load(c.original);
        w.tag.KillTag();
        EXPECT_TRUE(w.after() == c.expected) << c.what;
    }
}

TEST(Writer, InPlaceTagAreaOver16MB) {
    Writer w;
    const uint32_t old = 17 * 1024 * 1024;
    w.load(tag(4, textFrame("TIT2", "old"), old - 14) + audio(1000));
    w.tag.Title = "new";
    w.tag.Album = std::string(100000, 'a');
    w.tag.WriteTag();
    EXPECT_TRUE(w.after() ==
                expectedWrite(w.before, true, old, textFrame("TALB", w.tag.Album) + textFrame("TIT2", "new")));
}

TEST(Writer, GrowingKeepsNamesPermissionsAndLinks) {
    {
        // Files under the old temporary name are neither truncated nor followed.
        Writer w;
        w.load(audio(100));
        writeFile(w.dir / "song.tmp", "someone's file");
        fs::create_symlink(w.dir / "target-of-link", w.dir / "song.tmp.link");
        chmod(w.path.c_str(), 0604);
        w.tag.Title = "t";
        w.tag.WriteTag();
        EXPECT_EQ(readFile(w.dir / "song.tmp"), "someone's file");
        EXPECT_FALSE(fs::exists(w.dir / "target-of-link"));
        EXPECT_EQ(w.folder(), (std::vector<std::string>{"song.mp3", "song.tmp", "song.tmp.link"}));
        struct stat st {};
        ASSERT_EQ(stat(w.path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0604u);
        EXPECT_TRUE(w.after() == expectedWrite(audio(100), false, 0, textFrame("TIT2", "t")));
    }
    {
        // Through a symbolic link: the target is rewritten, the link stays a link.
        Writer w;
        fs::create_directory(w.dir.path / "real");
        const std::string target = (w.dir.path / "real" / "track.mp3").string();
        writeFile(target, tag(4, "", 20) + audio(100));
        fs::create_symlink(target, w.path);
        w.tag.FileName = w.path;
        w.tag.ReadTag(w.dir.pictures(), false);
        w.tag.Title = std::string(100, 't');
        w.tag.WriteTag();
        EXPECT_TRUE(fs::is_symlink(w.path));
        EXPECT_EQ(fs::read_symlink(w.path), target);
        EXPECT_TRUE(readFile(target) ==
                    expectedWrite(tag(4, "", 20) + audio(100), true, 20, textFrame("TIT2", w.tag.Title)));
        EXPECT_EQ(fs::directory_iterator(w.dir.path / "real")->path().filename(), "track.mp3");
        EXPECT_EQ(std::distance(fs::directory_iterator(w.dir.path / "real"), fs::directory_iterator()), 1);
    }
}

TEST(Writer, FailuresLeaveTheFileAlone) {
    // A folder where the MP3 file should be: the write fails and leaves no
    // temporary file behind.
    Writer w;
    w.load(audio(100));
    fs::remove(w.path);
    fs::create_directory(w.path); // a folder where the file should be
    w.tag.Title = "t";
    EXPECT_THROW(w.tag.WriteTag(), InOutError);
    EXPECT_EQ(w.folder(), std::vector<std::string>{});
}
