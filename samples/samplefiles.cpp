// The sample files: silent audio with tags of every kind the editor shows.
// Version 2.4 tags and ID3v1 blocks come from the engine; the engine writes no
// older version, so the 2.2 and 2.3 tags are built here byte by byte.
#include "samplefiles.h"

#include <cstdint>
#include <functional>

#include "id3v1/Id3.h"
#include "id3v2/Idtag24.h"
#include "platform/File.h"

namespace tagvane {

namespace {

const std::string Nul(1, '\0');
const std::string CrLf = "\r\n";

std::string bigEndian(uint32_t n, int bytes) {
    std::string out;
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out += static_cast<char>((n >> shift) & 0xFF);
    return out;
}

// An ID3v2.2 or 2.3 tag, or an empty tag of any version. The tag size is
// syncsafe in every version; 2.2 and 2.3 frame sizes are plain: 24 bits in 2.2
// (no flags), 32 bits in 2.3.
class RawTag {
public:
    explicit RawTag(int major) : major_(major) {}

    RawTag &frame(const std::string &id, const std::string &content) {
        const auto size = static_cast<uint32_t>(content.size());
        frames_ += id;
        if (major_ == 2) {
            frames_ += bigEndian(size, 3);
        } else {
            frames_ += bigEndian(size, 4);
            frames_ += std::string(2, '\0'); // flags
        }
        frames_ += content;
        return *this;
    }
    // A text frame in encoding 0.
    RawTag &text(const std::string &id, const std::string &value) { return frame(id, Nul + value); }

    // Header, frames and some zero padding, as taggers leave room to grow.
    std::string bytes(size_t padding = 256) const {
        const auto size = EncodeSyncsafe(static_cast<uint32_t>(frames_.size() + padding));
        std::string out = "ID3";
        out += static_cast<char>(major_);
        out += std::string(2, '\0'); // revision, flags
        for (uint8_t b : size)
            out += static_cast<char>(b);
        return out + frames_ + std::string(padding, '\0');
    }

private:
    int major_;
    std::string frames_;
};

// COMM and USLT (COM and ULT in 2.2): encoding, language, description, text.
std::string languageContent(const std::string &language, const std::string &description, const std::string &text) {
    return Nul + language + description + Nul + text;
}

void writeBytes(const std::string &path, const std::string &bytes) {
    File out(path, File::Mode::CreateTruncate);
    out.write(bytes.data(), bytes.size());
    out.close();
}

struct Pictures {
    std::string jpegFile, pngFile;
    std::string jpeg, png;
};

// The engine's version 2.4 tag in front of the audio. A new tag is written
// only as large as its frames, its room to grow left outside it. So the first
// write measures the frames, and the second fills an empty tag whose area
// holds that room as padding: the audio then begins right after the tag.
void writeV24(const std::string &path, const std::function<void(ID3v24 &)> &fill) {
    const std::string audio = silentMpegAudio(SampleAudioFrames);
    writeBytes(path, audio);
    ID3v24 tag;
    tag.FileName = path;
    fill(tag);
    tag.WriteTag();
    tag.ReadTag("", true); // the header only: the values stay
    writeBytes(path, RawTag(4).bytes((tag.OldTagSize() / 1024 + 1) * 1024) + audio);
    tag.ReadTag("", true);
    tag.WriteTag();
}

void appendV1(const std::string &path, const std::function<void(Id3v1 &)> &fill) {
    Id3v1 block;
    block.FileName = path;
    fill(block);
    block.WriteTag();
}

void noTags(const std::string &path, const Pictures &) {
    writeBytes(path, silentMpegAudio(SampleAudioFrames));
}

void id3v1Only(const std::string &path, const Pictures &) {
    writeBytes(path, silentMpegAudio(SampleAudioFrames));
    appendV1(path, [](Id3v1 &v1) {
        v1.Title = "Evening Tide";
        v1.Artist = "Harbour Lights";
        v1.Album = "Coastline";
        v1.Year = "1998";
        v1.Comment = "Only an ID3v1.1 block";
        v1.TrackNum = "4";
        v1.Genre = "Ambient";
    });
}

void id3v22(const std::string &path, const Pictures &pictures) {
    RawTag tag(2);
    tag.text("TT2", "Old Lighthouse")
        .text("TP1", "Harbour Lights")
        .text("TAL", "Coastline")
        .text("TYE", "1997")
        .text("TRK", "2/10")
        .text("TCO", "Folk")
        .text("TCM", "Ines Varga")
        .text("TBP", "88")
        .frame("COM", languageContent("eng", "", "A version 2.2 tag, as early taggers wrote it."))
        // PIC: encoding, three-letter image format, picture type, description, data.
        .frame("PIC", Nul + "JPG" + '\x03' + "Sunset" + Nul + pictures.jpeg);
    writeBytes(path, tag.bytes() + silentMpegAudio(SampleAudioFrames));
}

void id3v23(const std::string &path, const Pictures &pictures) {
    RawTag tag(3);
    tag.text("TIT2", "Northern Road")
        .text("TPE1", "The Quiet Engines")
        .text("TALB", "Signal Fires")
        .text("TYER", "2001")
        .text("TRCK", "5/11")
        .text("TCON", "Jazz")
        .text("TBPM", "96")
        .text("TPUB", "Lantern Records")
        .frame("COMM", languageContent("eng", "", "A version 2.3 tag; writing it saves it as 2.4."))
        .frame("COMM", languageContent("deu", "Notiz", "Aufgenommen an einem Abend."))
        .frame("USLT", languageContent("eng", "", "Down the northern road" + CrLf + "the signal fires burn low"))
        .frame("TXXX", Nul + "Mood" + Nul + "Calm")
        .frame("WXXX", Nul + "Band page" + Nul + "https://example.com/quiet-engines")
        .frame("USER", Nul + "eng" + "Free to share for testing.")
        // APIC: encoding, MIME type, picture type, description, data.
        .frame("APIC", Nul + "image/png" + Nul + '\x13' + "Logo" + Nul + pictures.png);
    writeBytes(path, tag.bytes() + silentMpegAudio(SampleAudioFrames));
}

void allPages(const std::string &path, const Pictures &pictures) {
    writeV24(path, [&](ID3v24 &t) {
        t.Title = "Every Page Filled";
        t.SubTitle = "A tour of the editor";
        t.LeadPerformer = "Mira Castell";
        t.Band = "The Castell Ensemble";
        t.Conductor = "Jonas Brandt";
        t.Composer = "Mira Castell";
        t.TextWriter = "Ada Lindqvist";
        t.Album = "Open Every Door";
        t.PartOfSet = "1/2";
        t.TrackNum = "1/9";
        t.ContentType = "Acid Jazz";
        t.RecordTime = "2023-05-14";
        t.RelaseTime = "2023-09-01";
        t.BeatsPerMinute = "120";
        t.InitialKey = "Am";
        t.Mood = "Bright";
        t.Language = "eng";
        t.Publisher = "Lantern Records";
        t.Copyright = "2023 Lantern Records";
        t.EncodedBy = "Tagvane samples";
        t.ArtistUrl = "https://example.com/mira-castell";
        t.PublisherUrl = "https://example.com/lantern";
        t.SetComment(Nul, "eng", "Every page of the editor has something in this file.", 1);
        t.SetComment("Studio" + Nul, "eng", "Recorded in one take.", 2);
        t.SetLyric(Nul, "eng", "Open every door" + CrLf + "and every window too" + CrLf + "let the evening in", 1);
        t.SetUserText("Catalogue" + Nul, "LR-0042", 1);
        t.SetUserUrl("Tour dates" + Nul, "https://example.com/tour", 1);
        t.SetTerms("eng", "Free to share for testing.", 1);
        t.SetPicture("Sunset" + Nul, "Cover (front)", "image/jpeg" + Nul, pictures.jpegFile, 1);
        t.SetPicture("Shapes" + Nul, "Cover (back)", "image/png" + Nul, pictures.pngFile, 2);
    });
}

void comments(const std::string &path, const Pictures &) {
    writeV24(path, [](ID3v24 &t) {
        t.Title = "Four Languages";
        t.LeadPerformer = "Mira Castell";
        t.SetComment(Nul, "eng", "A comment without a description.", 1);
        t.SetComment("Notiz" + Nul, "deu", latin1("Ein Kommentar auf Deutsch, für alle."), 2);
        t.SetComment("Remarque" + Nul, "fra", latin1("Un commentaire en français."), 3);
        t.SetComment("Nota" + Nul, "spa", latin1("Un comentario en español."), 4);
    });
}

void lyrics(const std::string &path, const Pictures &) {
    writeV24(path, [](ID3v24 &t) {
        t.Title = "Song With Words";
        t.LeadPerformer = "The Quiet Engines";
        t.SetLyric(Nul, "eng",
                   "First verse, first line" + CrLf + "first verse, second line" + CrLf + CrLf + "Chorus, sung twice",
                   1);
        t.SetLyric("Deutsch" + Nul, "deu",
                   latin1("Erste Strophe, erste Zeile") + CrLf + latin1("über die Straße und zurück"), 2);
    });
}

void userEntries(const std::string &path, const Pictures &) {
    writeV24(path, [](ID3v24 &t) {
        t.Title = "User Texts, Links and Terms";
        t.LeadPerformer = "Harbour Lights";
        t.SetUserText("Catalogue" + Nul, "HL-0007", 1);
        t.SetUserText("Recorded at" + Nul, "The Old Customs House", 2);
        t.SetUserText("Mastering" + Nul, "Analogue", 3);
        t.SetUserUrl("Band page" + Nul, "https://example.com/harbour-lights", 1);
        t.SetUserUrl("Sheet music" + Nul, "https://example.com/sheets/evening-tide", 2);
        t.SetTerms("eng", "Free to share for testing; not for sale.", 1);
        t.SetTerms("deu", latin1("Zum Testen frei weiterzugeben; nicht zum Verkauf."), 2);
    });
}

void twoPictures(const std::string &path, const Pictures &pictures) {
    writeV24(path, [&](ID3v24 &t) {
        t.Title = "Two Pictures";
        t.LeadPerformer = "The Castell Ensemble";
        t.SetPicture("Sunset" + Nul, "Cover (front)", "image/jpeg" + Nul, pictures.jpegFile, 1);
        t.SetPicture("Shapes" + Nul, "Band/artist logotype", "image/png" + Nul, pictures.pngFile, 2);
    });
}

void longTitle(const std::string &path, const Pictures &) {
    writeV24(path, [](ID3v24 &t) {
        t.Title = "A Very Long Title That Keeps Going, Written To See How The Title Field, The File List And "
                  "The Renamer Cope With Far More Text Than The Thirty Characters Of An ID3v1 Block (Extended Mix, "
                  "Remastered)";
        t.LeadPerformer = "Mira Castell";
        t.TrackNum = "12";
    });
}

void latin1Texts(const std::string &path, const Pictures &) {
    writeV24(path, [](ID3v24 &t) {
        t.Title = latin1("Café an der Straße");
        t.LeadPerformer = latin1("Señor Müller y los Niños");
        t.Album = latin1("Crème brûlée à la française");
        t.Composer = latin1("Zoë Åström");
        t.ContentType = "Latin";
        t.SetComment(Nul, "spa", latin1("Año, niño, mañana; ü, é, ß."), 1);
    });
}

void bothVersions(const std::string &path, const Pictures &) {
    writeV24(path, [](ID3v24 &t) {
        t.Title = "Harbour Lights at Midnight (Live in the Old Customs House)";
        t.LeadPerformer = "Harbour Lights";
        t.Album = "Live at the Customs House";
        t.RecordTime = "2019-11-23";
        t.TrackNum = "7/14";
        t.ContentType = "Ambient";
        t.BeatsPerMinute = "72";
        t.SetComment(Nul, "eng", "This file has an ID3v2.4 tag and an ID3v1.1 block.", 1);
    });
    appendV1(path, [](Id3v1 &v1) {
        v1.Title = "Harbour Lights at Midnight";
        v1.Artist = "Harbour Lights";
        v1.Album = "Live at the Customs House";
        v1.Year = "2019";
        v1.Comment = "The ID3v1.1 block";
        v1.TrackNum = "7";
        v1.Genre = "Ambient";
    });
}

struct Sample {
    const char *name;
    void (*write)(const std::string &path, const Pictures &pictures);
};

const Sample Samples[] = {
    {"01-no-tags.mp3", noTags},
    {"02-id3v1-only.mp3", id3v1Only},
    {"03-id3v2.2.mp3", id3v22},
    {"04-id3v2.3.mp3", id3v23},
    {"05-id3v2.4-every-page.mp3", allPages},
    {"06-id3v2.4-comments.mp3", comments},
    {"07-id3v2.4-lyrics.mp3", lyrics},
    {"08-id3v2.4-user-texts-links-terms.mp3", userEntries},
    {"09-id3v2.4-two-pictures.mp3", twoPictures},
    {"10-id3v2.4-long-title.mp3", longTitle},
    {"11-id3v2.4-latin1.mp3", latin1Texts},
    {"12-id3v2.4-and-id3v1.mp3", bothVersions},
};

} // namespace

std::string silentMpegAudio(int frameCount) {
    // 144 * 128000 / 44100 = 417.96 bytes per frame: the padding bit adds the
    // missing byte whenever the remainder has added up to a whole one.
    constexpr uint32_t numerator = 144 * 128000, rate = 44100;
    std::string out;
    uint32_t remainder = 0;
    for (int i = 0; i < frameCount; ++i) {
        remainder += numerator % rate;
        const bool padded = remainder >= rate;
        if (padded)
            remainder -= rate;
        std::string frame(numerator / rate + (padded ? 1 : 0), '\0');
        // Sync, MPEG-1, Layer III, no CRC; 128 kbit/s, 44.1 kHz, padding;
        // joint stereo, original. Side information and main data stay zero,
        // which decodes as silence.
        frame[0] = '\xFF';
        frame[1] = '\xFB';
        frame[2] = padded ? '\x92' : '\x90';
        frame[3] = '\x64';
        out += frame;
    }
    return out;
}

std::string latin1(const std::string &utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if ((lead & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[++i]);
            out += static_cast<char>(((lead & 0x1F) << 6) | (next & 0x3F));
        } else {
            out += static_cast<char>(lead);
        }
    }
    return out;
}

std::vector<std::string> sampleFileNames() {
    std::vector<std::string> names;
    for (const Sample &s : Samples)
        names.emplace_back(s.name);
    return names;
}

void makeSamples(const std::string &folder) {
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    if (!base.empty())
        makeFolders(base);
    // The 2.4 writer reads picture data from files; they stay beside the
    // samples for trying "add picture" too.
    Pictures pictures{base + "picture-sunset.jpg", base + "picture-shapes.png", sunsetJpeg(), shapesPng()};
    writeBytes(pictures.jpegFile, pictures.jpeg);
    writeBytes(pictures.pngFile, pictures.png);
    for (const Sample &s : Samples)
        s.write(base + s.name, pictures);
}

} // namespace tagvane
