// Frames the model has no place for survive a rewrite: kept byte for byte,
// brought from version 2.3 to 2.4, replaced by values the user typed, and
// never carried into another file.
#include "id3v2/Idtag24.h"
#include "id3v2/testutil.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace tagtest;
using tagvane::ID3v24;

namespace {

const std::string Utf16A = "\x01\xFF\xFE" + std::string("A\0r\0t\0", 6); // UTF-16 "Art"

struct KeptCase {
    const char* what;
    std::string file;
    std::function<void(ID3v24&)> change;
    std::string modelFrames; // what the model writes
    std::string keptFrames;  // what follows it, in version 2.4 form
    int keptCount;
};

} // namespace

TEST(KeptFrames, SurviveARewrite) {
    const std::string a = audio(300);
    const auto none = [](ID3v24&) {};
    const auto album = [](ID3v24& t) { t.Album = "new album"; };
    const std::string newAlbum = frame24("TALB", NUL + "new album");
    const std::string priv = "owner@example" + NUL + "\x01\x02\x03";
    const std::string popm = "me@example" + NUL + "\xC4" + std::string("\x00\x00\x00\x07", 4);
    const std::vector<KeptCase> cases = {
        {"2.4 private frame and rating", tag(4, frame24("PRIV", priv) + frame24("POPM", popm)) + a, album, newAlbum,
         frame24("PRIV", priv) + frame24("POPM", popm), 2},
        {"2.4 UTF-16 artist and comment, UTF-8 user text, UTF-16 picture description",
         tag(4, frame24("TPE1", Utf16A) + frame24("COMM", "\x01" "eng\xFF\xFE\0\0" + std::string("h\0i\0", 4)) +
                    frame24("TXXX", "\x03k" + NUL + "v\xC3\xA9") +
                    frame24("APIC", "\x01image/png" + NUL + "\x03\xFF\xFE" + std::string("d\0\0\0", 4) + "PNG")) +
             a,
         album, newAlbum,
         frame24("TPE1", Utf16A) + frame24("COMM", "\x01" "eng\xFF\xFE\0\0" + std::string("h\0i\0", 4)) +
             frame24("TXXX", "\x03k" + NUL + "v\xC3\xA9") +
             frame24("APIC", "\x01image/png" + NUL + "\x03\xFF\xFE" + std::string("d\0\0\0", 4) + "PNG"),
         4},
        {"2.4 a value the user typed replaces the kept frame of its ID", tag(4, frame24("TPE1", Utf16A)) + a,
         [](ID3v24& t) { t.LeadPerformer = "Artist"; }, frame24("TPE1", NUL + "Artist"), "", 1},
        {"2.4 frames skipped by the flag test are kept with their flags",
         tag(4, frame24("TIT2", NUL + "grouped", 0x00, 0x40) + frame24("WOAR", "http://x", 0x80, 0x00)) + a, none, "",
         frame24("TIT2", NUL + "grouped", 0x00, 0x40) + frame24("WOAR", "http://x", 0x80, 0x00), 2},
        {"2.4 frames to be discarded on a change are not kept",
         tag(4, frame24("PRIV", priv, 0x40, 0x00) + frame24("TIT2", NUL + "t", 0x40, 0x40)) + a, none, "", "", 0},
        {"2.4 a frame cut off by the end of the tag is not kept",
         tagHeader(4, 20) + frame24("PRIV", std::string(40, 'p')) + a, none, "", "", 0},
        {"2.4 malformed and surplus frames are kept", tag(4, frame24("COMM", NUL + "engnodescription")) + a, none, "",
         frame24("COMM", NUL + "engnodescription"), 1},
        {"2.3 status flags move to their 2.4 bits",
         tag(3, frame23("PRIV", priv, 0x40, 0x00) + frame23("POPM", popm, 0x20, 0x00)) + a, none, "",
         frame24("PRIV", priv, 0x20, 0x00) + frame24("POPM", popm, 0x10, 0x00), 2},
        {"2.3 frames to be discarded, compressed, encrypted or grouped are dropped",
         tag(3, frame23("PRIV", priv, 0x80, 0x00) + frame23("TPE1", Utf16A, 0x00, 0x80) +
                    frame23("TPE2", Utf16A, 0x00, 0x40) + frame23("TPE3", Utf16A, 0x00, 0x20)) +
             a,
         none, "", "", 0},
        {"2.3 TSIZ, RVAD and EQUA are dropped, other IDs kept unchanged",
         tag(3, frame23("TSIZ", NUL + "123") + frame23("RVAD", "\x03\x10" + std::string(4, '\x01')) +
                    frame23("EQUA", "\x10\x00\x01") + frame23("TPE1", Utf16A) + frame23("XYZW", "x")) +
             a,
         none, "", frame24("TPE1", Utf16A) + frame24("XYZW", "x"), 2},
        {"2.3 TYER, TDAT and TIME become one TDRC",
         tag(3, frame23("TYER", NUL + "2001") + frame23("TDAT", NUL + "0605") + frame23("TIME", NUL + "1230")) + a,
         none, "", frame24("TDRC", NUL + "2001-05-06T12:30"), 1},
        {"2.3 a UTF-16 year becomes TDRC as well",
         tag(3, frame23("TYER", "\x01\xFF\xFE" + std::string("2\0" "0\0" "0\0" "9\0", 8))) + a, none, "",
         frame24("TDRC", NUL + "2009"), 1},
        {"2.3 the year is dropped when RecordTime is written",
         tag(3, frame23("TYER", NUL + "2001") + frame23("TRDA", NUL + "May 6")) + a, none,
         frame24("TDRC", NUL + "May 6"), "", 1},
        {"2.2 keeps nothing", tag(2, frame22("COM", NUL + "eng" + NUL + "c") + frame22("TYE", NUL + "2001")) + a,
         none, "", "", 0},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        ID3v24 t;
        t.FileName = dir / "song.mp3";
        writeFile(t.FileName, c.file);
        t.ReadTag(dir.pictures(), false);
        EXPECT_EQ(t.KeptFrameCount(), c.keptCount) << c.what;
        const uint32_t old = t.OldTagSize();
        c.change(t);
        t.WriteTag();
        const std::string expected = expectedWrite(c.file, true, old, c.modelFrames + c.keptFrames);
        EXPECT_TRUE(readFile(t.FileName) == expected) << c.what;
    }
}

TEST(KeptFrames, NeverCarriedIntoAnotherFile) {
    TempFolder dir;
    const std::string kept = dir / "kept.mp3";
    const std::string other = dir / "other.mp3";
    const std::string withPriv = tag(4, frame24("PRIV", "x" + NUL + "y") + frame24("TIT2", NUL + "t")) + audio(50);
    const std::string plain = tag(4, "", 100) + audio(50);
    auto fresh = [&] {
        writeFile(kept, withPriv);
        writeFile(other, plain);
    };
    ID3v24 t;
    {
        // "Write for all": header-only read of another file, then write there.
        fresh();
        t.FileName = kept;
        t.ReadTag(dir.pictures(), false);
        ASSERT_EQ(t.KeptFrameCount(), 1);
        t.FileName = other;
        t.ReadTag(dir.pictures(), true);
        EXPECT_EQ(t.KeptFrameCount(), 0);
        t.WriteTag();
        EXPECT_EQ(readFile(other), expectedWrite(plain, true, 100, frame24("TIT2", NUL + "t")));
    }
    {
        // The same file read again header-only still writes its kept frames.
        fresh();
        t.FileName = kept;
        t.ReadTag(dir.pictures(), false);
        t.ReadTag(dir.pictures(), true);
        EXPECT_EQ(t.KeptFrameCount(), 1);
        t.Title = "u";
        t.WriteTag();
        EXPECT_EQ(readFile(kept), expectedWrite(withPriv, true, 41, frame24("TIT2", NUL + "u") +
                                                                      frame24("PRIV", "x" + NUL + "y")));
    }
    {
        // ClearKeptFrames: the open file itself gets the model only.
        fresh();
        t.FileName = kept;
        t.ReadTag(dir.pictures(), false);
        t.ClearKeptFrames();
        EXPECT_EQ(t.KeptFrameCount(), 0);
        t.WriteTag();
        EXPECT_EQ(readFile(kept), expectedWrite(withPriv, true, 41, frame24("TIT2", NUL + "t")));
    }
    {
        // A normal read of another file replaces the list; KillTag blanks everything.
        fresh();
        t.FileName = kept;
        t.ReadTag(dir.pictures(), false);
        t.FileName = other;
        t.ReadTag(dir.pictures(), false);
        EXPECT_EQ(t.KeptFrameCount(), 0);
        t.FileName = kept;
        t.ReadTag(dir.pictures(), false);
        t.KillTag();
        EXPECT_EQ(readFile(kept), "ID3\x04" + NUL + NUL + syncsafe(41) + std::string(41, '\0') + audio(50));
    }
}
