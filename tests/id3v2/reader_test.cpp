// The three readers, from byte fixtures. Behaviour they share is one table of
// cases run against every version; what differs follows below.
#include "id3v2/Idtag24.h"
#include "id3v2/framemap.h"
#include "id3v2/testutil.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <vector>

using namespace tagtest;
using tagvane::FrameMap;
using tagvane::FrameMapRow;
using tagvane::ID3v24;

namespace {

struct Version {
    int major;
    const char* name;
    const char* FrameMapRow::*column;
    std::function<std::string(const std::string&, const std::string&, uint8_t, uint8_t)> frame;
    std::string unknownId;
    std::string zeroId;
};

const std::vector<Version>& versions() {
    static const std::vector<Version> all = {
        {4, "2.4", &FrameMapRow::v24, [](auto& id, auto& c, uint8_t a, uint8_t b) { return frame24(id, c, a, b); },
         "PRIV", std::string(4, '\0')},
        {3, "2.3", &FrameMapRow::v23, [](auto& id, auto& c, uint8_t a, uint8_t b) { return frame23(id, c, a, b); },
         "PRIV", std::string(4, '\0')},
        {2, "2.2", &FrameMapRow::v22, [](auto& id, auto& c, uint8_t, uint8_t) { return frame22(id, c); }, "COM",
         std::string(3, '\0')},
    };
    return all;
}

std::string idOf(const Version& v, const std::string& property) {
    for (const auto& row : FrameMap)
        if (property == row.property)
            return row.*v.column;
    return "";
}

// A frame of the version for the value `property`.
std::string valueFrame(const Version& v, const std::string& property, const std::string& content, uint8_t f1 = 0,
                       uint8_t f2 = 0) {
    return v.frame(idOf(v, property), content, f1, f2);
}

std::map<std::string, std::string> valuesOf(const ID3v24& t) {
    std::map<std::string, std::string> out;
    for (const auto& row : FrameMap)
        if (!(t.*row.member).empty())
            out[row.property] = t.*row.member;
    return out;
}

struct Reader {
    TempFolder dir;
    ID3v24 tag;
    std::string path = dir / "song.mp3";
    void read(const std::string& bytes) {
        writeFile(path, bytes);
        tag.FileName = path;
        tag.ReadTag(dir.pictures(), false);
    }
};

struct SharedCase {
    const char* what;
    std::function<std::string(const Version&)> file;
    std::map<std::string, std::string> expected;
};

} // namespace

TEST(Readers, SingleValuesInEveryVersion) {
    const std::vector<SharedCase> cases = {
        {"a text keeps its final NUL",
         [](const Version& v) { return tag(v.major, valueFrame(v, "Title", NUL + "Song" + NUL)); },
         {{"Title", "Song" + NUL}}},
        {"values separated by NUL stay one value",
         [](const Version& v) { return tag(v.major, valueFrame(v, "Title", NUL + "a" + NUL + "b")); },
         {{"Title", "a" + NUL + "b"}}},
        {"encoding 1 empties the value, the next frame is read",
         [](const Version& v) {
             return tag(v.major, valueFrame(v, "Title", "\x01xy") + valueFrame(v, "Album", NUL + "A"));
         },
         {{"Album", "A"}}},
        {"a later frame replaces an earlier one",
         [](const Version& v) {
             return tag(v.major, valueFrame(v, "Title", NUL + "one") + valueFrame(v, "Title", NUL + "two"));
         },
         {{"Title", "two"}}},
        {"a URL frame is all its bytes, without encoding byte",
         [](const Version& v) { return tag(v.major, valueFrame(v, "ArtistUrl", "http://a.example/")); },
         {{"ArtistUrl", "http://a.example/"}}},
        {"an unknown frame is passed over by its size",
         [](const Version& v) {
             return tag(v.major,
                        v.frame(v.unknownId, std::string(20, 'x'), 0, 0) + valueFrame(v, "TrackNum", NUL + "7"));
         },
         {{"TrackNum", "7"}}},
        {"a text frame of size 0 is skipped whole",
         [](const Version& v) {
             return tag(v.major, valueFrame(v, "Title", NUL + "kept") + valueFrame(v, "Title", "") +
                                     valueFrame(v, "Album", NUL + "B"));
         },
         {{"Title", "kept"}, {"Album", "B"}}},
        {"zero bytes after the last frame end the walk",
         [](const Version& v) {
             return tag(v.major, valueFrame(v, "Title", NUL + "t") + v.zeroId + valueFrame(v, "Album", NUL + "no"));
         },
         {{"Title", "t"}}},
        {"frames that fill the tag exactly; bytes after the tag are not frames",
         [](const Version& v) {
             return tag(v.major, valueFrame(v, "Title", NUL + "t"), 0) + valueFrame(v, "Album", NUL + "audio");
         },
         {{"Title", "t"}}},
        {"a frame reaching past the tag area ends the walk, values before stay",
         [](const Version& v) {
             const std::string frames = valueFrame(v, "Title", NUL + "t") + valueFrame(v, "Album", NUL + "abcdef");
             // The tag ends inside the album frame.
             return tagHeader(v.major, static_cast<uint32_t>(frames.size() - 3)) + frames + audio(100);
         },
         {{"Title", "t"}}},
        {"a file that ends inside the tag",
         [](const Version& v) {
             return tagHeader(v.major, 5000) + valueFrame(v, "Title", NUL + "t") + valueFrame(v, "Album", NUL + "x");
         },
         {{"Title", "t"}, {"Album", "x"}}},
        {"a garbage frame size never wraps",
         [](const Version& v) {
             std::string garbage = v.unknownId + std::string(v.major == 2 ? 3 : 4, '\xFF');
             if (v.major != 2)
                 garbage += std::string(2, '\0');
             return tag(v.major, valueFrame(v, "Title", NUL + "t") + garbage + valueFrame(v, "Album", NUL + "x"), 64);
         },
         {{"Title", "t"}}},
    };
    for (const auto& v : versions()) {
        for (const auto& c : cases) {
            Reader r;
            r.read(c.file(v));
            EXPECT_EQ(valuesOf(r.tag), c.expected) << v.name << ": " << c.what;
            EXPECT_TRUE(r.tag.Id3v2present);
            EXPECT_EQ(r.tag.Version, v.name);
        }
    }
}

TEST(Readers, EveryValueOfTheFrameMapColumn) {
    for (const auto& v : versions()) {
        std::string frames;
        std::map<std::string, std::string> expected;
        for (const auto& row : FrameMap) {
            const char* id = row.*v.column;
            if (id == nullptr)
                continue;
            const std::string value = std::string(row.property) + "-value";
            frames += v.frame(id, row.kind == tagvane::FrameKind::Text ? NUL + value : value, 0, 0);
            expected[row.property] = value;
        }
        Reader r;
        r.read(tag(v.major, frames) + audio(50));
        EXPECT_EQ(valuesOf(r.tag), expected) << v.name;
        EXPECT_EQ(expected.size(), v.major == 4 ? 44u : v.major == 3 ? 34u : 27u);
    }
}

TEST(Readers, VersionSpecificIds) {
    struct Case {
        const char* what;
        std::string file;
        std::map<std::string, std::string> expected;
    };
    const std::vector<Case> cases = {
        {"2.3 TORY and TRDA",
         tag(3, frame23("TORY", NUL + "1999") + frame23("TRDA", NUL + "2 May")),
         {{"OrigTime", "1999"}, {"RecordTime", "2 May"}}},
        {"2.3 TIT1", tag(3, frame23("TIT1", NUL + "grp")), {{"ContentGroup", "grp"}}},
        {"2.3 does not know TDRC or TSOA", tag(3, frame23("TDRC", NUL + "2001") + frame23("TSOA", NUL + "s")), {}},
        {"2.4 does not know TORY or TRDA",
         tag(4, frame24("TORY", NUL + "1999") + frame24("TRDA", NUL + "x") + frame24("TSOA", NUL + "s")),
         {{"AlbumSort", "s"}}},
        {"2.2 skips COM, PIC and TYE",
         tag(2, frame22("TT2", NUL + "t") + frame22("COM", NUL + "engd" + NUL + "c") +
                    frame22("PIC", NUL + "JPG\x03" + NUL + "data") + frame22("TYE", NUL + "1999") +
                    frame22("TAL", NUL + "a")),
         {{"Title", "t"}, {"Album", "a"}}},
        {"2.3 a TIT2 of 256 content bytes",
         tag(3, frame23("TIT2", NUL + std::string(255, 'q')) + frame23("TALB", NUL + "a")),
         {{"Title", std::string(255, 'q')}, {"Album", "a"}}},
        {"2.2 a TT2 of 256 content bytes",
         tag(2, frame22("TT2", NUL + std::string(255, 'q')) + frame22("TAL", NUL + "a")),
         {{"Title", std::string(255, 'q')}, {"Album", "a"}}},
        {"2.4 sizes are syncsafe (256 is 00 00 02 00)",
         tag(4, "TIT2" + std::string("\x00\x00\x02\x00\x00\x00", 6) + NUL + std::string(255, 'q') +
                    frame24("TALB", NUL + "a")),
         {{"Title", std::string(255, 'q')}, {"Album", "a"}}},
    };
    for (const auto& c : cases) {
        Reader r;
        r.read(c.file);
        EXPECT_EQ(valuesOf(r.tag), c.expected) << c.what;
    }
}

TEST(Readers, FlagTests) {
    struct Case {
        int major;
        std::string frame;
        bool taken;
    };
    const std::string text = NUL + "v";
    const std::string url = "http://u";
    const std::vector<Case> cases = {
        // 2.4: text frames test the second flag byte, URL frames the first; 0x80 and 0x40.
        {4, frame24("TIT2", text, 0x00, 0x40), false},
        {4, frame24("TIT2", text, 0x00, 0x80), false},
        {4, frame24("TIT2", text, 0x40, 0x00), true},
        {4, frame24("TIT2", text, 0x00, 0x3F), true},
        {4, frame24("WOAR", url, 0x40, 0x00), false},
        {4, frame24("WOAR", url, 0x80, 0x00), false},
        {4, frame24("WOAR", url, 0x00, 0xC0), true},
        // 2.3: only 0x80.
        {3, frame23("TIT2", text, 0x00, 0x40), true},
        {3, frame23("TIT2", text, 0x00, 0x80), false},
        {3, frame23("TIT2", text, 0x80, 0x00), true},
        {3, frame23("WOAR", url, 0x40, 0x00), true},
        {3, frame23("WOAR", url, 0x80, 0x00), false},
    };
    for (const auto& c : cases) {
        Reader r;
        r.read(tag(c.major, c.frame + (c.major == 4 ? frame24 : frame23)("TALB", NUL + "next", 0, 0)));
        const bool taken = !r.tag.Title.empty() || !r.tag.ArtistUrl.empty();
        EXPECT_EQ(taken, c.taken) << c.major << " " << testing::PrintToString(c.frame);
        EXPECT_EQ(r.tag.Album, "next");
    }
}

namespace {

using FrameFn = std::string (*)(const std::string&, const std::string&, uint8_t, uint8_t);

struct ListVersion {
    int major;
    FrameFn frame;
};
const ListVersion ListVersions[] = {{4, frame24}, {3, frame23}};

} // namespace

TEST(Readers, ListFramesIn24And23) {
    for (const auto& v : ListVersions) {
        auto f = [&](const std::string& id, const std::string& content, uint8_t f1 = 0) {
            return v.frame(id, content, f1, 0);
        };
        Reader r;
        r.read(tag(v.major, f("COMM", NUL + "engx" + NUL + "hello") + f("COMM", NUL + "deu" + NUL + "leer") +
                                f("USLT", NUL + "fra" + "d" + NUL + "la la") + f("TXXX", NUL + "key" + NUL + "val") +
                                f("WXXX", NUL + "site" + NUL + "http://w") + f("USER", NUL + "engterms") +
                                f("USER", NUL + "ita")) +
               audio(10));
        const ID3v24& t = r.tag;
        ASSERT_EQ(t.CommentList.Count, 2) << v.major;
        EXPECT_EQ(t.CommentList.Description[1], "x" + NUL);
        EXPECT_EQ(t.CommentList.Language[1], "eng");
        EXPECT_EQ(t.CommentList.Text[1], "hello");
        EXPECT_EQ(t.CommentList.Description[2], NUL);
        EXPECT_EQ(t.CommentList.Text[2], "leer");
        ASSERT_EQ(t.LyricsList.Count, 1);
        EXPECT_EQ(t.LyricsList.Language[1], "fra");
        EXPECT_EQ(t.LyricsList.Description[1], "d" + NUL);
        EXPECT_EQ(t.LyricsList.Text[1], "la la");
        ASSERT_EQ(t.UserTextList.Count, 1);
        EXPECT_EQ(t.UserTextList.Description[1], "key" + NUL);
        EXPECT_EQ(t.UserTextList.Value[1], "val");
        ASSERT_EQ(t.UserUrlList.Count, 1);
        EXPECT_EQ(t.UserUrlList.Description[1], "site" + NUL);
        EXPECT_EQ(t.UserUrlList.Url[1], "http://w");
        ASSERT_EQ(t.TermsList.Count, 2);
        EXPECT_EQ(t.TermsList.Language[1], "eng");
        EXPECT_EQ(t.TermsList.Text[1], "terms");
        EXPECT_EQ(t.TermsList.Text[2], "");
    }
}

TEST(Readers, MalformedListFramesAreSkippedWhole) {
    struct Case {
        const char* what;
        std::string id;
        std::string content;
        uint8_t flags1;
    };
    const std::vector<Case> cases = {
        {"encoding 1", "COMM",
         "\x01"
         "eng" +
             NUL + "t",
         0},
        {"comment shorter than its fixed fields", "COMM", NUL + "en", 0},
        {"comment description without NUL", "COMM", NUL + "engdescription", 0},
        {"lyrics description without NUL", "USLT", NUL + "engabc", 0},
        {"user text description without NUL", "TXXX", NUL + "abc", 0},
        {"user URL description without NUL", "WXXX", NUL + "abc", 0},
        {"terms shorter than the language", "USER", NUL + "en", 0},
        {"empty frame", "TXXX", "", 0},
        {"picture MIME without NUL", "APIC", NUL + "image/png", 0},
        {"picture without type byte", "APIC", NUL + "image/png" + NUL, 0},
        {"picture description without NUL", "APIC", NUL + "image/png" + NUL + "\x03" + "desc", 0},
        {"user URL with discard flag", "WXXX", NUL + "d" + NUL + "u", 0x80},
    };
    for (const auto& v : ListVersions) {
        for (const auto& c : cases) {
            Reader r;
            r.read(tag(v.major, v.frame("TIT2", NUL + "before", 0, 0) + v.frame(c.id, c.content, c.flags1, 0) +
                                    v.frame("TALB", NUL + "after", 0, 0)));
            const ID3v24& t = r.tag;
            EXPECT_EQ(t.CommentList.Count + t.LyricsList.Count + t.UserTextList.Count + t.UserUrlList.Count +
                          t.TermsList.Count + t.PictureList.Count,
                      0)
                << v.major << ": " << c.what;
            EXPECT_EQ(t.Title, "before") << c.what;
            EXPECT_EQ(t.Album, "after") << c.what;
            EXPECT_FALSE(fs::exists(r.dir.pictures()) && !fs::is_empty(r.dir.pictures())) << c.what;
        }
    }
    // Version 2.4 also skips list frames with 0x40 in the first flag byte; 2.3 reads them.
    Reader r24, r23;
    r24.read(tag(4, frame24("WXXX", NUL + "d" + NUL + "u", 0x40, 0)));
    r23.read(tag(3, frame23("WXXX", NUL + "d" + NUL + "u", 0x40, 0)));
    EXPECT_EQ(r24.tag.UserUrlList.Count, 0);
    EXPECT_EQ(r23.tag.UserUrlList.Count, 1);
}

TEST(Readers, PicturesGoIntoFilesOfThePictureFolder) {
    for (const auto& v : ListVersions) {
        const std::string jpeg = audio(20000);
        const std::string png = audio(300);
        Reader r;
        // The picture folder does not exist yet: the reader creates it.
        r.read(tag(v.major, v.frame("APIC", NUL + "image/jpeg" + NUL + "\x03" + NUL + jpeg, 0, 0) +
                                v.frame("APIC", NUL + "image/png" + NUL + "\x14" + "band" + NUL + png, 0, 0) +
                                v.frame("APIC", NUL + "image/jpg" + NUL + "\x15" + NUL, 0, 0) +
                                v.frame("TALB", NUL + "after", 0, 0)));
        const auto& p = r.tag.PictureList;
        ASSERT_EQ(p.Count, 3) << v.major;
        EXPECT_EQ(p.Mime[1], "image/jpeg" + NUL);
        EXPECT_EQ(p.PictureType[1], "Cover (front)");
        EXPECT_EQ(p.Description[1], NUL);
        EXPECT_EQ(p.PictureFile[1], r.dir.pictures() + "1image.jpg");
        EXPECT_TRUE(readFile(p.PictureFile[1]) == jpeg);
        EXPECT_EQ(p.PictureType[2], "Publisher/Studio logotype");
        EXPECT_EQ(p.Description[2], "band" + NUL);
        EXPECT_EQ(p.PictureFile[2], r.dir.pictures() + "2image.png");
        EXPECT_EQ(readFile(p.PictureFile[2]), png);
        EXPECT_EQ(p.PictureType[3], ""); // type byte 21 has no name
        EXPECT_EQ(p.PictureFile[3], r.dir.pictures() + "3image.jpg");
        EXPECT_EQ(readFile(p.PictureFile[3]), "");
        EXPECT_EQ(r.tag.Album, "after");
    }
}

TEST(Readers, PictureFileNamesStayInsideTheFolder) {
    struct Case {
        std::string mime;
        std::string file;
    };
    const std::vector<Case> cases = {
        {"image/jpeg", "1image.jpg"},
        {"image/png", "1image.png"},
        {"PNG", "1PNG"},
        {"image/../../x", "1image..._.._x"},
        {"../../../etc/passwd", "1....._.._etc_passwd"},
        {"a b\\c:d*e", "1a_b_c_d_e"},
        {"image/svg+xml", "1image.svg+xml"},
        {"", "1"},
    };
    for (const auto& c : cases) {
        Reader r;
        r.read(tag(4, frame24("APIC", NUL + c.mime + NUL + NUL + NUL + "img")));
        ASSERT_EQ(r.tag.PictureList.Count, 1) << c.mime;
        EXPECT_EQ(r.tag.PictureList.PictureFile[1], r.dir.pictures() + c.file) << c.mime;
        EXPECT_EQ(readFile(r.dir.pictures() + c.file), "img") << c.mime;
        // Nothing was written anywhere but into the picture folder.
        std::vector<std::string> outside;
        for (const auto& e : fs::recursive_directory_iterator(r.dir.path))
            if (e.is_regular_file() && e.path().parent_path() != fs::path(r.dir.pictures()).parent_path() &&
                e.path().filename() != "song.mp3")
                outside.push_back(e.path().string());
        EXPECT_TRUE(outside.empty()) << c.mime;
    }
}

TEST(Readers, MoreThanHundredEntriesAreDropped) {
    std::string frames;
    for (int i = 1; i <= 103; ++i) {
        frames += frame24("COMM", NUL + "eng" + std::to_string(i) + NUL + "c");
        frames += frame24("APIC", NUL + "image/png" + NUL + "\x03" + NUL + std::to_string(i));
    }
    frames += frame24("TALB", NUL + "after");
    Reader r;
    r.read(tag(4, frames));
    EXPECT_EQ(r.tag.CommentList.Count, 100);
    EXPECT_EQ(r.tag.CommentList.Description[100], "100" + NUL);
    EXPECT_EQ(r.tag.PictureList.Count, 100);
    EXPECT_EQ(readFile(r.tag.PictureList.PictureFile[100]), "100");
    EXPECT_FALSE(fs::exists(r.dir.pictures() + "101image.png"));
    EXPECT_EQ(r.tag.Album, "after");
}

TEST(Readers, LargeFramesOfVersion23) {
    const std::string comment = NUL + "eng" + "d" + NUL + std::string(294, 'c'); // 300 content bytes
    const std::string image = audio(20000 - 13);
    Reader r;
    r.read(tag(3, frame23("COMM", comment) + frame23("APIC", NUL + "image/png" + NUL + NUL + NUL + image) +
                      frame23("TALB", NUL + "a")));
    EXPECT_EQ(r.tag.CommentList.Text[1], std::string(294, 'c'));
    EXPECT_TRUE(readFile(r.tag.PictureList.PictureFile[1]) == image);
    EXPECT_EQ(r.tag.Album, "a");
}

TEST(Readers, ReadOnlyFilesCanBeRead) {
    // The running test program cannot be opened for writing, not even by root
    // ("Text file busy"), so reading it shows that ReadTag asks for reading only.
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    ID3v24 t;
    t.FileName = self;
    EXPECT_NO_THROW(t.ReadTag("/nonexistent/", false));
    EXPECT_FALSE(t.Id3v2present);
    if (geteuid() != 0) {
        Reader r;
        writeFile(r.path, tag(4, frame24("TIT2", NUL + "ro")));
        chmod(r.path.c_str(), 0444);
        r.tag.FileName = r.path;
        EXPECT_NO_THROW(r.tag.ReadTag(r.dir.pictures(), false));
        EXPECT_EQ(r.tag.Title, "ro");
    }
}
