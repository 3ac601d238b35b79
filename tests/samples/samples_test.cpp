// The sample files read back by our own engine: each has the tag it is named
// after, with the values the editor is meant to show, and real MPEG audio.
#include "samplefiles.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "id3v1/Id3.h"
#include "id3v2/Idtag24.h"
#include "platform/InOutError.h"
#include "ui/pictureview.h"

namespace fs = std::filesystem;
using tagvane::Id3v1;
using tagvane::ID3v24;

namespace {

struct TempFolder {
    fs::path path;
    TempFolder() {
        char pattern[] = "/tmp/tagvane-samples-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string file(const std::string &name) const { return (path / name).string(); }
};

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

const std::string NUL(1, '\0');

uint8_t at(const std::string &bytes, size_t i) {
    return static_cast<uint8_t>(bytes[i]);
}

// Where the audio of an MP3 file begins and ends: after the ID3v2 tag (its
// syncsafe size plus the 10-byte header), before an ID3v1 block.
struct AudioRange {
    size_t begin = 0, end = 0;
};
AudioRange audioRange(const std::string &bytes) {
    AudioRange r{0, bytes.size()};
    if (bytes.compare(0, 3, "ID3") == 0 && bytes.size() >= 10)
        r.begin = 10 + ((size_t{at(bytes, 6)} << 21) | (size_t{at(bytes, 7)} << 14) | (size_t{at(bytes, 8)} << 7) |
                        size_t{at(bytes, 9)});
    if (bytes.size() >= 128 && bytes.compare(bytes.size() - 128, 3, "TAG") == 0)
        r.end -= 128;
    return r;
}

// Walks MPEG-1 Layer III frame headers from `begin`, taking each frame's length
// from its own bit rate, sample rate and padding bit. Returns the number of
// frames when the walk ends exactly at `end` with 128 kbit/s, 44.1 kHz frames
// only, and -1 with a reason otherwise.
int countFrames(const std::string &bytes, size_t begin, size_t end, std::string &fault) {
    static const int kbits[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int rates[4] = {44100, 48000, 32000, 0};
    int frames = 0;
    size_t pos = begin;
    while (pos < end) {
        if (end - pos < 4) {
            fault = "bytes left after the last frame at " + std::to_string(pos);
            return -1;
        }
        const uint8_t b1 = at(bytes, pos + 1), b2 = at(bytes, pos + 2);
        const bool sync = at(bytes, pos) == 0xFF && (b1 & 0xE0) == 0xE0;
        const bool mpeg1Layer3 = ((b1 >> 3) & 3) == 3 && ((b1 >> 1) & 3) == 1;
        if (!sync || !mpeg1Layer3) {
            fault = "no MPEG-1 Layer III header at " + std::to_string(pos);
            return -1;
        }
        const int kbit = kbits[b2 >> 4], rate = rates[(b2 >> 2) & 3];
        if (kbit != 128 || rate != 44100) {
            fault = "frame at " + std::to_string(pos) + " is not 128 kbit/s, 44.1 kHz";
            return -1;
        }
        pos += static_cast<size_t>(144 * kbit * 1000 / rate + ((b2 >> 1) & 1));
        ++frames;
    }
    if (pos != end) {
        fault = "the last frame reaches past the audio";
        return -1;
    }
    return frames;
}

class SampleFiles : public ::testing::Test {
protected:
    void SetUp() override { tagvane::makeSamples(dir.path.string()); }

    // Reads both tags of a sample file, the way the editor opens it.
    void read(const std::string &name, ID3v24 &v2, Id3v1 &v1) const {
        v2.FileName = dir.file(name);
        v2.ReadTag(dir.file("extracted") + "/", false);
        v1.FileName = dir.file(name);
        v1.ReadTag();
    }

    TempFolder dir;
};

TEST(SampleAudio, FramesAddUpToTheStreamRate) {
    // Over n frames the padding bits make up exactly n * 144 * 128000 / 44100 bytes.
    for (int n : {1, 2, 3, 38, tagvane::SampleAudioFrames}) {
        const std::string audio = tagvane::silentMpegAudio(n);
        EXPECT_EQ(audio.size(), static_cast<size_t>(int64_t{n} * 144 * 128000 / 44100)) << n;
        std::string fault;
        EXPECT_EQ(countFrames(audio, 0, audio.size(), fault), n) << fault;
        // Beyond the four header bytes a frame is all zero: silence.
        EXPECT_EQ(audio.find_first_not_of('\0', 4), n > 1 ? size_t{417} : std::string::npos) << n;
    }
}

TEST(SampleAudio, Latin1BytesOfUtf8Text) {
    EXPECT_EQ(tagvane::latin1("plain"), "plain");
    EXPECT_EQ(tagvane::latin1("é ü ß ñ"), "\xE9 \xFC \xDF \xF1");
    EXPECT_EQ(tagvane::latin1("Åström"), "\xC5str\xF6m");
}

// The editor's view of every file, one row each.
struct Expected {
    const char *name;
    const char *version; // nullptr: no ID3v2 tag
    std::string title, artist;
    int comments, lyrics, userTexts, userUrls, terms, pictures;
    std::string v1Title; // empty: no ID3v1 block
};

const std::string LongTitle =
    "A Very Long Title That Keeps Going, Written To See How The Title Field, The File List And The Renamer Cope "
    "With Far More Text Than The Thirty Characters Of An ID3v1 Block (Extended Mix, Remastered)";

const Expected Files[] = {
    {"01-no-tags.mp3", nullptr, "", "", 0, 0, 0, 0, 0, 0, ""},
    {"02-id3v1-only.mp3", nullptr, "", "", 0, 0, 0, 0, 0, 0, "Evening Tide"},
    // Version 2.2 lists (COM, PIC) are in the file, but the reader takes none.
    {"03-id3v2.2.mp3", "2.2", "Old Lighthouse", "Harbour Lights", 0, 0, 0, 0, 0, 0, ""},
    {"04-id3v2.3.mp3", "2.3", "Northern Road", "The Quiet Engines", 2, 1, 1, 1, 1, 1, ""},
    {"05-id3v2.4-every-page.mp3", "2.4", "Every Page Filled", "Mira Castell", 2, 1, 1, 1, 1, 2, ""},
    {"06-id3v2.4-comments.mp3", "2.4", "Four Languages", "Mira Castell", 4, 0, 0, 0, 0, 0, ""},
    {"07-id3v2.4-lyrics.mp3", "2.4", "Song With Words", "The Quiet Engines", 0, 2, 0, 0, 0, 0, ""},
    {"08-id3v2.4-user-texts-links-terms.mp3", "2.4", "User Texts, Links and Terms", "Harbour Lights", 0, 0, 3, 2, 2, 0,
     ""},
    {"09-id3v2.4-two-pictures.mp3", "2.4", "Two Pictures", "The Castell Ensemble", 0, 0, 0, 0, 0, 2, ""},
    {"10-id3v2.4-long-title.mp3", "2.4", LongTitle, "Mira Castell", 0, 0, 0, 0, 0, 0, ""},
    {"11-id3v2.4-latin1.mp3", "2.4",
     "Caf\xE9 an der Stra\xDF"
     "e",
     "Se\xF1or M\xFCller y los Ni\xF1os", 1, 0, 0, 0, 0, 0, ""},
    {"12-id3v2.4-and-id3v1.mp3", "2.4", "Harbour Lights at Midnight (Live in the Old Customs House)", "Harbour Lights",
     1, 0, 0, 0, 0, 0, "Harbour Lights at Midnight"},
};

TEST_F(SampleFiles, EveryFileHasItsTagsAndTwoSecondsOfAudio) {
    std::vector<std::string> names;
    for (const Expected &e : Files)
        names.emplace_back(e.name);
    EXPECT_EQ(tagvane::sampleFileNames(), names);

    for (const Expected &e : Files) {
        SCOPED_TRACE(e.name);
        ID3v24 v2;
        Id3v1 v1;
        read(e.name, v2, v1);
        EXPECT_EQ(v2.Id3v2present, e.version != nullptr);
        EXPECT_EQ(v2.Version, e.version != nullptr ? e.version : "");
        EXPECT_EQ(v2.Title, e.title);
        EXPECT_EQ(v2.LeadPerformer, e.artist);
        EXPECT_EQ(v2.CommentList.Count, e.comments);
        EXPECT_EQ(v2.LyricsList.Count, e.lyrics);
        EXPECT_EQ(v2.UserTextList.Count, e.userTexts);
        EXPECT_EQ(v2.UserUrlList.Count, e.userUrls);
        EXPECT_EQ(v2.TermsList.Count, e.terms);
        EXPECT_EQ(v2.PictureList.Count, e.pictures);
        EXPECT_EQ(v1.ID3v1Present, !e.v1Title.empty());
        EXPECT_EQ(v1.Title, e.v1Title);

        const std::string bytes = readFile(dir.file(e.name));
        const AudioRange audio = audioRange(bytes);
        ASSERT_LT(audio.begin + 1, bytes.size());
        EXPECT_EQ(at(bytes, audio.begin), 0xFF);
        EXPECT_EQ(at(bytes, audio.begin + 1), 0xFB);
        std::string fault;
        EXPECT_EQ(countFrames(bytes, audio.begin, audio.end, fault), tagvane::SampleAudioFrames) << fault;
    }
}

TEST_F(SampleFiles, TheLongTitleIsLongerThanAnyField) {
    ID3v24 v2;
    Id3v1 v1;
    read("10-id3v2.4-long-title.mp3", v2, v1);
    EXPECT_GE(v2.Title.size(), 190u);
    EXPECT_LE(v2.Title.size(), 220u);
}

TEST_F(SampleFiles, Version22ValuesReadFromThreeLetterFrames) {
    ID3v24 v2;
    Id3v1 v1;
    read("03-id3v2.2.mp3", v2, v1);
    EXPECT_EQ(v2.Album, "Coastline");
    EXPECT_EQ(v2.TrackNum, "2/10");
    EXPECT_EQ(v2.ContentType, "Folk");
    EXPECT_EQ(v2.Composer, "Ines Varga");
    EXPECT_EQ(v2.BeatsPerMinute, "88");
    EXPECT_EQ(v2.KeptFrameCount(), 0);
    // The picture is in the file all the same, right after its fixed fields.
    const std::string bytes = readFile(dir.file("03-id3v2.2.mp3"));
    const size_t pic = bytes.find("PIC");
    ASSERT_NE(pic, std::string::npos);
    const size_t size = (size_t{at(bytes, pic + 3)} << 16) | (size_t{at(bytes, pic + 4)} << 8) | at(bytes, pic + 5);
    const std::string head = NUL + "JPG" + '\x03' + "Sunset" + NUL;
    EXPECT_EQ(bytes.substr(pic + 6, head.size()), head);
    EXPECT_EQ(bytes.substr(pic + 6 + head.size(), size - head.size()), readFile(dir.file("picture-sunset.jpg")));
}

TEST_F(SampleFiles, Version23ListsAndValues) {
    ID3v24 v2;
    Id3v1 v1;
    read("04-id3v2.3.mp3", v2, v1);
    EXPECT_EQ(v2.Album, "Signal Fires");
    EXPECT_EQ(v2.TrackNum, "5/11");
    EXPECT_EQ(v2.ContentType, "Jazz");
    EXPECT_EQ(v2.Publisher, "Lantern Records");
    // TYER has no place in the model; it is kept and written back as TDRC.
    EXPECT_EQ(v2.KeptFrameCount(), 1);
    EXPECT_EQ(v2.CommentList.Language[1], "eng");
    EXPECT_EQ(v2.CommentList.Description[1], NUL);
    EXPECT_EQ(v2.CommentList.Language[2], "deu");
    EXPECT_EQ(v2.CommentList.Description[2], "Notiz" + NUL);
    EXPECT_EQ(v2.CommentList.Text[2], "Aufgenommen an einem Abend.");
    EXPECT_EQ(v2.LyricsList.Text[1], "Down the northern road\r\nthe signal fires burn low");
    EXPECT_EQ(v2.UserTextList.Description[1], "Mood" + NUL);
    EXPECT_EQ(v2.UserTextList.Value[1], "Calm");
    EXPECT_EQ(v2.UserUrlList.Url[1], "https://example.com/quiet-engines");
    EXPECT_EQ(v2.TermsList.Language[1], "eng");
    EXPECT_EQ(v2.PictureList.Mime[1], "image/png" + NUL);
    EXPECT_EQ(v2.PictureList.PictureType[1], "Band/artist logotype");
    EXPECT_EQ(readFile(v2.PictureList.PictureFile[1]), readFile(dir.file("picture-shapes.png")));
}

TEST_F(SampleFiles, EveryPageHasContent) {
    ID3v24 v2;
    Id3v1 v1;
    read("05-id3v2.4-every-page.mp3", v2, v1);
    struct Value {
        std::string ID3v24::*member;
        const char *text;
    };
    for (const Value &v : {Value{&ID3v24::Album, "Open Every Door"}, Value{&ID3v24::TrackNum, "1/9"},
                           Value{&ID3v24::ContentType, "Acid Jazz"}, Value{&ID3v24::RecordTime, "2023-05-14"},
                           Value{&ID3v24::BeatsPerMinute, "120"}, Value{&ID3v24::Language, "eng"},
                           Value{&ID3v24::Composer, "Mira Castell"}, Value{&ID3v24::Band, "The Castell Ensemble"},
                           Value{&ID3v24::ArtistUrl, "https://example.com/mira-castell"}})
        EXPECT_EQ(v2.*v.member, v.text);
    EXPECT_EQ(v2.KeptFrameCount(), 0);
    EXPECT_EQ(v2.LyricsList.Text[1], "Open every door\r\nand every window too\r\nlet the evening in");
    EXPECT_EQ(v2.PictureList.PictureType[1], "Cover (front)");
    EXPECT_EQ(v2.PictureList.PictureType[2], "Cover (back)");
}

TEST_F(SampleFiles, CommentsInFourLanguagesWithLatin1Text) {
    ID3v24 v2;
    Id3v1 v1;
    read("06-id3v2.4-comments.mp3", v2, v1);
    ASSERT_EQ(v2.CommentList.Count, 4);
    const char *languages[] = {"eng", "deu", "fra", "spa"};
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(v2.CommentList.Language[i], languages[i - 1]) << i;
    EXPECT_EQ(v2.CommentList.Description[1], NUL);
    EXPECT_EQ(v2.CommentList.Text[2], "Ein Kommentar auf Deutsch, f\xFCr alle.");
    EXPECT_EQ(v2.CommentList.Text[3], "Un commentaire en fran\xE7"
                                      "ais.");
    EXPECT_EQ(v2.CommentList.Text[4], "Un comentario en espa\xF1ol.");
}

TEST_F(SampleFiles, Latin1TextsAreSingleBytes) {
    ID3v24 v2;
    Id3v1 v1;
    read("11-id3v2.4-latin1.mp3", v2, v1);
    EXPECT_EQ(v2.Album, "Cr\xE8me br\xFBl\xE9"
                        "e \xE0 la fran\xE7"
                        "aise");
    EXPECT_EQ(v2.Composer, "Zo\xEB \xC5str\xF6m");
    EXPECT_EQ(v2.CommentList.Text[1], "A\xF1o, ni\xF1o, ma\xF1"
                                      "ana; \xFC, \xE9, \xDF.");
}

TEST_F(SampleFiles, Id3v1Blocks) {
    struct Block {
        const char *name;
        const char *title, *artist, *album, *year, *comment, *track, *genre;
    };
    const Block blocks[] = {
        {"02-id3v1-only.mp3", "Evening Tide", "Harbour Lights", "Coastline", "1998", "Only an ID3v1.1 block", "4",
         "Ambient"},
        {"12-id3v2.4-and-id3v1.mp3", "Harbour Lights at Midnight", "Harbour Lights", "Live at the Customs House",
         "2019", "The ID3v1.1 block", "7", "Ambient"},
    };
    for (const Block &b : blocks) {
        SCOPED_TRACE(b.name);
        ID3v24 v2;
        Id3v1 v1;
        read(b.name, v2, v1);
        EXPECT_EQ(v1.Title, b.title);
        EXPECT_EQ(v1.Artist, b.artist);
        EXPECT_EQ(v1.Album, b.album);
        EXPECT_EQ(v1.Year, b.year);
        EXPECT_EQ(v1.Comment, b.comment);
        EXPECT_EQ(v1.TrackNum, b.track);
        EXPECT_EQ(v1.Genre, b.genre);
    }
}

// The pictures as the images page shows them: decoded by the editor's own
// loader, of their size, and with the shapes where they were drawn.
TEST_F(SampleFiles, PicturesDecodeAndShowSomething) {
    ID3v24 v2;
    Id3v1 v1;
    read("09-id3v2.4-two-pictures.mp3", v2, v1);
    ASSERT_EQ(v2.PictureList.Count, 2);
    EXPECT_EQ(v2.PictureList.Mime[1], "image/jpeg" + NUL);
    EXPECT_EQ(v2.PictureList.Mime[2], "image/png" + NUL);
    EXPECT_EQ(readFile(v2.PictureList.PictureFile[1]), readFile(dir.file("picture-sunset.jpg")));
    EXPECT_EQ(readFile(v2.PictureList.PictureFile[2]), readFile(dir.file("picture-shapes.png")));

    const QImage sunset = tagvane::loadPicture(QString::fromStdString(v2.PictureList.PictureFile[1]));
    ASSERT_EQ(sunset.size(), QSize(160, 160));
    const QRgb sky = sunset.pixel(5, 5), sun = sunset.pixel(80, 90), sea = sunset.pixel(10, 150);
    EXPECT_GT(qBlue(sky), qRed(sky)) << "night blue at the top";
    EXPECT_GT(qRed(sun), 220);
    EXPECT_GT(qGreen(sun), 180);
    EXPECT_LT(qRed(sea) + qGreen(sea) + qBlue(sea), 200) << "dark sea at the bottom";

    const QImage shapes = tagvane::loadPicture(QString::fromStdString(v2.PictureList.PictureFile[2]));
    ASSERT_EQ(shapes.size(), QSize(96, 96));
    EXPECT_EQ(qAlpha(shapes.pixel(2, 2)), 0) << "transparent ground";
    const QRgb circle = shapes.pixel(34, 34), square = shapes.pixel(80, 50), triangle = shapes.pixel(24, 80);
    EXPECT_EQ(qAlpha(circle), 255);
    EXPECT_GT(qRed(circle), 200);
    EXPECT_GT(qGreen(square), qRed(square));
    EXPECT_LT(qAlpha(square), 255) << "the square lets the ground through";
    EXPECT_GT(qBlue(triangle), 200);
}

TEST_F(SampleFiles, ARunWritesTheSameBytesAndRestoresEditedFiles) {
    TempFolder other;
    tagvane::makeSamples(other.path.string() + "/nested/");
    auto names = tagvane::sampleFileNames();
    names.insert(names.end(), {"picture-sunset.jpg", "picture-shapes.png"});
    for (const std::string &name : names)
        EXPECT_EQ(readFile(dir.file(name)), readFile(other.file("nested/" + name))) << name;

    // A user wrote a bigger tag into one file and shortened another.
    const std::string edited = dir.file("05-id3v2.4-every-page.mp3");
    const std::string cut = dir.file("01-no-tags.mp3");
    const std::string original = readFile(edited);
    writeFile(edited, "ID3" + std::string(7, '\x01') + original);
    writeFile(cut, "short");
    tagvane::makeSamples(dir.path.string());
    EXPECT_EQ(readFile(edited), original);
    EXPECT_EQ(readFile(cut), readFile(other.file("nested/01-no-tags.mp3")));
}

TEST_F(SampleFiles, AFileInPlaceOfTheFolderIsAnError) {
    writeFile(dir.file("taken"), "a file");
    EXPECT_THROW(tagvane::makeSamples(dir.file("taken")), tagvane::InOutError);
    EXPECT_THROW(tagvane::makeSamples(dir.file("taken") + "/below"), tagvane::InOutError);
}

} // namespace
