#include "renamer/renamer.h"

#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace tagvane;

namespace {

struct Tags {
    ID3v24 v2;
    Id3v1 v1;
};

std::string build(const Tags &tags, const std::vector<RenameTemplate> &templates) {
    return BuildRenameName(templates, tags.v2, tags.v1);
}

bool isUtf8RoundTrip(const std::string &s) {
    return cp1252ToUtf8(utf8ToCp1252(s)) == s;
}

} // namespace

TEST(RenameName, JoinsPrefixValueAndSuffixWithoutSeparators) {
    Tags tags;
    tags.v2.LeadPerformer = "ABBA";
    tags.v2.Title = "Waterloo";
    tags.v2.TrackNum = "7";
    struct Case {
        std::vector<RenameTemplate> templates;
        std::string expected;
    } cases[] = {
        {{{"", "Artist", " - "}, {"", "Title", ""}}, "ABBA - Waterloo.mp3"},
        {{{"0", "Track Num.", ". "}, {"", "Title", ""}}, "07. Waterloo.mp3"},
        {{{"[", "Artist", "]"}, {"(", "Title", ")"}}, "[ABBA](Waterloo).mp3"},
        {{}, ".mp3"},
        {{{"", "", ""}}, ".mp3"},
        {{{"x", "", "y"}}, "xy.mp3"},
        {{{"", "Title", ".mp3"}}, "Waterloo.mp3.mp3"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(build(tags, c.templates), c.expected);
}

TEST(RenameName, ReplacesCharactersAFileNameCannotHold) {
    struct Case {
        const char *what;
        std::string prefix, title, suffix;
        std::string expected;
    } cases[] = {
        {"question mark in a value", "", "Why?", "", "Why_.mp3"},
        {"star in a prefix", "a*b", "", "", "a_b.mp3"},
        {"backslash in a value", "", "AC\\DC", "", "AC_DC.mp3"},
        {"slash in a value", "", "a/b:c", "", "a_b:c.mp3"},
        {"slash in a suffix", "", "x", "/..", "x_...mp3"},
        {"value that climbs folders", "", "../../etc", "", ".._.._etc.mp3"},
        {"NUL that ends a text frame", "", std::string("Title\0", 6), "", "Title.mp3"},
        {"NUL inside", "", std::string("a\0b", 3), "", "ab.mp3"},
        {"other characters stay", " .", "\"<a>|:\x01", ". ", " .\"<a>|:\x01. .mp3"},
    };
    Tags tags;
    for (const auto &c : cases) {
        tags.v2.Title = c.title;
        EXPECT_EQ(build(tags, {{c.prefix, "Title", c.suffix}}), c.expected) << c.what;
    }
}

TEST(RenameName, Windows1252BytesBecomeUtf8) {
    Tags tags;
    tags.v2.Title = "Caf\xE9";
    tags.v2.LeadPerformer = "\x80uro";
    EXPECT_EQ(build(tags, {{"\xFC", "Title", " "}, {"", "Artist", "\x85"}}),
              "\xC3\xBC"
              "Caf\xC3\xA9 \xE2\x82\xACuro\xE2\x80\xA6.mp3");
}

TEST(RenameName, UnknownAndCaseDifferentFrameNamesAddOnlyTheirText) {
    Tags tags;
    tags.v2.Title = "Waterloo";
    struct Case {
        std::string frameName;
    } cases[] = {{"title"}, {"TITLE"}, {"Title "}, {" Title"}, {"Titl"}, {"Nonsense"}, {"Track Num"}, {"Album(id3v1)"}};
    for (const auto &c : cases) {
        EXPECT_EQ(GetFrameValue(c.frameName, tags.v2, tags.v1), "") << c.frameName;
        // The value before it is not repeated.
        EXPECT_EQ(build(tags, {{"", "Title", ""}, {"<", c.frameName, ">"}}), "Waterloo<>.mp3") << c.frameName;
    }
}

TEST(RenameName, SimilarNamesTakeTheirOwnValues) {
    Tags tags;
    tags.v2.SubTitle = "sub";
    tags.v2.SubTitleOfSet = "set sub";
    tags.v2.Language = "eng";
    tags.v2.Title = "v2 title";
    tags.v1.Title = "v1 title";
    tags.v2.ContentType = "(17)Rock";
    tags.v1.Genre = "Rock";
    tags.v1.TrackNum = "3";
    EXPECT_EQ(GetFrameValue("Subtitle", tags.v2, tags.v1), "sub");
    EXPECT_EQ(GetFrameValue("Subtitle of Set", tags.v2, tags.v1), "set sub");
    EXPECT_EQ(GetFrameValue("Language", tags.v2, tags.v1), "eng");
    EXPECT_EQ(GetFrameValue("Title", tags.v2, tags.v1), "v2 title");
    EXPECT_EQ(GetFrameValue("Title(ID3v1)", tags.v2, tags.v1), "v1 title");
    EXPECT_EQ(GetFrameValue("Genre", tags.v2, tags.v1), "(17)Rock");
    EXPECT_EQ(GetFrameValue("Genre(ID3v1)", tags.v2, tags.v1), "Rock");
    // The ID3v1 track number is not offered: "Track Num." is the ID3v2 one.
    EXPECT_EQ(GetFrameValue("Track Num.", tags.v2, tags.v1), "");
}

// Every name against the property it stands for, each property holding its own name.
TEST(RenameFrames, EveryNameTakesItsProperty) {
    Tags tags;
    const std::pair<std::string ID3v24::*, const char *> v2Properties[] = {
        {&ID3v24::Album, "Album"},
        {&ID3v24::AlbumSort, "AlbumSort"},
        {&ID3v24::ArtistUrl, "ArtistUrl"},
        {&ID3v24::AudioSourceUrl, "AudioSourceUrl"},
        {&ID3v24::AudioUrl, "AudioUrl"},
        {&ID3v24::Band, "Band"},
        {&ID3v24::BeatsPerMinute, "BeatsPerMinute"},
        {&ID3v24::Composer, "Composer"},
        {&ID3v24::Conductor, "Conductor"},
        {&ID3v24::ContentGroup, "ContentGroup"},
        {&ID3v24::ContentType, "ContentType"},
        {&ID3v24::Copyright, "Copyright"},
        {&ID3v24::EncodedBy, "EncodedBy"},
        {&ID3v24::EncodingTime, "EncodingTime"},
        {&ID3v24::InitialKey, "InitialKey"},
        {&ID3v24::InternetRadioName, "InternetRadioName"},
        {&ID3v24::InternetRadioOwner, "InternetRadioOwner"},
        {&ID3v24::Language, "Language"},
        {&ID3v24::LeadPerformer, "LeadPerformer"},
        {&ID3v24::Mood, "Mood"},
        {&ID3v24::OrigAlbum, "OrigAlbum"},
        {&ID3v24::OrigArtist, "OrigArtist"},
        {&ID3v24::OrigTextWriter, "OrigTextWriter"},
        {&ID3v24::OrigTime, "OrigTime"},
        {&ID3v24::PartOfSet, "PartOfSet"},
        {&ID3v24::PaymentUrl, "PaymentUrl"},
        {&ID3v24::PerformerSort, "PerformerSort"},
        {&ID3v24::Publisher, "Publisher"},
        {&ID3v24::PublisherUrl, "PublisherUrl"},
        {&ID3v24::RadioUrl, "RadioUrl"},
        {&ID3v24::RecordTime, "RecordTime"},
        {&ID3v24::RelaseTime, "RelaseTime"},
        {&ID3v24::Remixer, "Remixer"},
        {&ID3v24::SubTitle, "SubTitle"},
        {&ID3v24::SubTitleOfSet, "SubTitleOfSet"},
        {&ID3v24::TagTime, "TagTime"},
        {&ID3v24::TextWriter, "TextWriter"},
        {&ID3v24::Title, "Title"},
        {&ID3v24::TitleSort, "TitleSort"},
        {&ID3v24::TrackNum, "TrackNum"},
        {&ID3v24::CopyRightUrl, "CopyRightUrl"},
        {&ID3v24::CommercialUrl, "CommercialUrl"},
        {&ID3v24::FileOwner, "FileOwner"},
        {&ID3v24::Produced, "Produced"},
    };
    ASSERT_EQ(std::size(v2Properties), 44u);
    for (const auto &[member, name] : v2Properties)
        tags.v2.*member = name;
    tags.v1.Album = "v1 Album";
    tags.v1.Artist = "v1 Artist";
    tags.v1.Comment = "v1 Comment";
    tags.v1.Genre = "v1 Genre";
    tags.v1.Title = "v1 Title";
    tags.v1.Year = "v1 Year";
    tags.v1.TrackNum = "v1 TrackNum";

    const std::pair<const char *, const char *> expected[] = {
        {"Album", "Album"},
        {"Album Sort Order", "AlbumSort"},
        {"Album(ID3v1)", "v1 Album"},
        {"Artist", "LeadPerformer"},
        {"Artist sort order", "PerformerSort"},
        {"Artist(ID3v1)", "v1 Artist"},
        {"Band/Orchestra", "Band"},
        {"Beats Per Minute (BMP)", "BeatsPerMinute"},
        {"Comment(ID3v1)", "v1 Comment"},
        {"Commercial Information URL", "CommercialUrl"},
        {"Composer", "Composer"},
        {"Conductor", "Conductor"},
        {"Content Group", "ContentGroup"},
        {"Copyright", "Copyright"},
        {"Copyright information URL", "CopyRightUrl"},
        {"Encoded by", "EncodedBy"},
        {"Encoding Time", "EncodingTime"},
        {"File Owner/Licensee", "FileOwner"},
        {"Genre", "ContentType"},
        {"Genre(ID3v1)", "v1 Genre"},
        {"Initial Key", "InitialKey"},
        {"Internet Radio Owner", "InternetRadioOwner"},
        {"Internet Station Radio Name", "InternetRadioName"},
        {"Language", "Language"},
        {"Lyricist", "TextWriter"},
        {"Mood", "Mood"},
        {"Official Artist URL", "ArtistUrl"},
        {"Official Audio File URL", "AudioUrl"},
        {"Official Audio Source URL", "AudioSourceUrl"},
        {"Official Internet Radio URL", "RadioUrl"},
        {"Official Publisher URL", "PublisherUrl"},
        {"Orig. Relase Time", "OrigTime"},
        {"Original Album", "OrigAlbum"},
        {"Original Artist", "OrigArtist"},
        {"Original Lyricist", "OrigTextWriter"},
        {"Part of a Set", "PartOfSet"},
        {"Payment URL", "PaymentUrl"},
        {"Produced Notice", "Produced"},
        {"Publisher", "Publisher"},
        {"Recording Time", "RecordTime"},
        {"Relase Time", "RelaseTime"},
        {"Remixed by", "Remixer"},
        {"Subtitle", "SubTitle"},
        {"Subtitle of Set", "SubTitleOfSet"},
        {"Tagging Time", "TagTime"},
        {"Title", "Title"},
        {"Title Sort Order", "TitleSort"},
        {"Title(ID3v1)", "v1 Title"},
        {"Track Num.", "TrackNum"},
        {"Year(ID3v1)", "v1 Year"},
    };
    std::vector<std::string> names;
    std::set<std::string> values;
    for (const auto &[name, value] : expected) {
        EXPECT_EQ(GetFrameValue(name, tags.v2, tags.v1), value) << name;
        names.push_back(name);
        values.insert(value);
    }
    EXPECT_EQ(values.size(), 50u); // every v2 property and all but the v1 track number
    // The pick list holds exactly these names in this order, which is byte order.
    EXPECT_EQ(RenameFrameNames(), names);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

TEST(RenameFrames, TagsThatAreMissingGiveEmptyValues) {
    Tags tags;
    for (const auto &frame : RenameFrames()) {
        if (frame.v2)
            tags.v2.*(frame.v2->member) = "v2";
        else
            tags.v1.*frame.v1 = "v1";
    }
    // A file without the ID3v1 block: the six "(ID3v1)" names give nothing.
    tags.v1.ClearTag();
    for (const auto &frame : RenameFrames()) {
        const std::string value = GetFrameValue(std::string(frame.name), tags.v2, tags.v1);
        EXPECT_EQ(value, frame.v2 ? "v2" : "") << frame.name;
        EXPECT_EQ(std::string(frame.name).find("(ID3v1)") != std::string::npos, frame.v1 != nullptr) << frame.name;
    }
    tags.v2.ClearTag();
    for (const auto &frame : RenameFrames())
        EXPECT_EQ(GetFrameValue(std::string(frame.name), tags.v2, tags.v1), "") << frame.name;
}

TEST(RenameLength, AsciiNames) {
    struct Case {
        size_t length;
        size_t expected;
    } cases[] = {{4, 4}, {254, 254}, {255, 255}, {256, 254}, {300, 254}, {1000, 254}};
    for (const auto &c : cases) {
        std::string name;
        for (size_t i = 0; name.size() + 4 < c.length; ++i)
            name += static_cast<char>('a' + i % 26);
        name += ".mp3";
        ASSERT_EQ(name.size(), c.length);
        const std::string result = RenameLengthRule(name);
        EXPECT_EQ(result.size(), c.expected) << c.length;
        if (c.length > 255)
            EXPECT_EQ(result, name.substr(0, 250) + ".mp3");
        else
            EXPECT_EQ(result, name);
    }
}

TEST(RenameLength, CountsBytesAndCutsAtCharacterBoundaries) {
    struct Case {
        const char *what;
        std::string title; // Windows-1252
        size_t expected;   // bytes after the rule
    } cases[] = {
        {"200 u-umlauts, two bytes each", std::string(200, '\xFC'), 254},
        {"odd start puts the cut inside a character", "a" + std::string(200, '\xFC'), 253},
        {"euro signs, three bytes each", std::string(100, '\x80'), 253},
        {"250 bytes of text and the extension fit", std::string(125, '\xFC') + "a", 255},
        {"127 characters of two bytes are too long", std::string(126, '\xFC'), 254},
    };
    Tags tags;
    for (const auto &c : cases) {
        tags.v2.Title = c.title;
        const std::string built = build(tags, {{"", "Title", ""}});
        const std::string result = RenameLengthRule(built);
        EXPECT_EQ(result.size(), c.expected) << c.what;
        EXPECT_LE(result.size(), 255u) << c.what;
        EXPECT_EQ(result.substr(result.size() - 4), ".mp3") << c.what;
        EXPECT_EQ(built.compare(0, result.size() - 4, result, 0, result.size() - 4), 0) << c.what;
        EXPECT_TRUE(isUtf8RoundTrip(result)) << c.what;
    }
    // Applied twice, the rule changes nothing more.
    tags.v2.Title = std::string(300, '\xFC');
    const std::string once = RenameLengthRule(build(tags, {{"", "Title", ""}}));
    EXPECT_EQ(RenameLengthRule(once), once);
}
