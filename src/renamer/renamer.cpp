#include "renamer/renamer.h"

#include <iterator>

#include "platform/codepage.h"

namespace tagvane {

namespace {

// The frame map row of a property; a name that is not there fails to compile.
constexpr const FrameMapRow *mapRow(std::string_view property) {
    for (const auto &row : FrameMap)
        if (property == row.property)
            return &row;
    throw "property not in the frame map";
}

constexpr RenameFrame v2(std::string_view name, std::string_view property) {
    return {name, mapRow(property), nullptr};
}
constexpr RenameFrame v1(std::string_view name, std::string Id3v1::*member) {
    return {name, nullptr, member};
}

// In pick-list order. The names are the program's own, spelling included.
constexpr RenameFrame frames[] = {
    v2("Album", "Album"),
    v2("Album Sort Order", "AlbumSort"),
    v1("Album(ID3v1)", &Id3v1::Album),
    v2("Artist", "LeadPerformer"),
    v2("Artist sort order", "PerformerSort"),
    v1("Artist(ID3v1)", &Id3v1::Artist),
    v2("Band/Orchestra", "Band"),
    v2("Beats Per Minute (BMP)", "BeatsPerMinute"),
    v1("Comment(ID3v1)", &Id3v1::Comment),
    v2("Commercial Information URL", "CommercialUrl"),
    v2("Composer", "Composer"),
    v2("Conductor", "Conductor"),
    v2("Content Group", "ContentGroup"),
    v2("Copyright", "Copyright"),
    v2("Copyright information URL", "CopyRightUrl"),
    v2("Encoded by", "EncodedBy"),
    v2("Encoding Time", "EncodingTime"),
    v2("File Owner/Licensee", "FileOwner"),
    v2("Genre", "ContentType"),
    v1("Genre(ID3v1)", &Id3v1::Genre),
    v2("Initial Key", "InitialKey"),
    v2("Internet Radio Owner", "InternetRadioOwner"),
    v2("Internet Station Radio Name", "InternetRadioName"),
    v2("Language", "Language"),
    v2("Lyricist", "TextWriter"),
    v2("Mood", "Mood"),
    v2("Official Artist URL", "ArtistUrl"),
    v2("Official Audio File URL", "AudioUrl"),
    v2("Official Audio Source URL", "AudioSourceUrl"),
    v2("Official Internet Radio URL", "RadioUrl"),
    v2("Official Publisher URL", "PublisherUrl"),
    v2("Orig. Relase Time", "OrigTime"),
    v2("Original Album", "OrigAlbum"),
    v2("Original Artist", "OrigArtist"),
    v2("Original Lyricist", "OrigTextWriter"),
    v2("Part of a Set", "PartOfSet"),
    v2("Payment URL", "PaymentUrl"),
    v2("Produced Notice", "Produced"),
    v2("Publisher", "Publisher"),
    v2("Recording Time", "RecordTime"),
    v2("Relase Time", "RelaseTime"),
    v2("Remixed by", "Remixer"),
    v2("Subtitle", "SubTitle"),
    v2("Subtitle of Set", "SubTitleOfSet"),
    v2("Tagging Time", "TagTime"),
    v2("Title", "Title"),
    v2("Title Sort Order", "TitleSort"),
    v1("Title(ID3v1)", &Id3v1::Title),
    v2("Track Num.", "TrackNum"),
    v1("Year(ID3v1)", &Id3v1::Year),
};
static_assert(std::size(frames) == 50);

const std::string extension = ".mp3";

} // namespace

std::span<const RenameFrame> RenameFrames() {
    return frames;
}

std::vector<std::string> RenameFrameNames() {
    std::vector<std::string> names;
    names.reserve(std::size(frames));
    for (const auto &frame : frames)
        names.emplace_back(frame.name);
    return names;
}

std::string GetFrameValue(const std::string &frameName, const ID3v24 &v2, const Id3v1 &v1) {
    for (const auto &frame : frames)
        if (frame.name == frameName)
            return frame.v2 ? v2.*(frame.v2->member) : v1.*frame.v1;
    return {};
}

std::string BuildRenameName(const std::vector<RenameTemplate> &templates, const ID3v24 &v2, const Id3v1 &v1) {
    std::string joined;
    for (const auto &t : templates) {
        joined += t.Prefix;
        joined += GetFrameValue(t.FrameName, v2, v1);
        joined += t.Suffix;
    }
    std::string cleaned;
    cleaned.reserve(joined.size());
    for (char c : joined) {
        if (c == '\0')
            continue;
        cleaned += (c == '?' || c == '*' || c == '\\' || c == '/') ? '_' : c;
    }
    return cp1252ToUtf8(cleaned) + extension;
}

std::string RenameLengthRule(const std::string &name) {
    if (name.size() <= MaxFileNameBytes)
        return name;
    size_t cut = MaxFileNameBytes - 1 - extension.size(); // 250
    // Step back over continuation bytes so no character is split.
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return name.substr(0, cut) + extension;
}

} // namespace tagvane
