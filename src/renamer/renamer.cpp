#include "renamer/renamer.h"

#include <iterator>

#include "platform/codepage.h"

namespace tagvane {

namespace {

constexpr RenameFrame v2(std::string_view name, std::string ID3v24::*member) {
    return {name, member, nullptr};
}
constexpr RenameFrame v1(std::string_view name, std::string Id3v1::*member) {
    return {name, nullptr, member};
}

// In pick-list order. The names are the program's own, spelling included.
constexpr RenameFrame frames[] = {
    v2("Album", &ID3v24::Album),
    v2("Album Sort Order", &ID3v24::AlbumSort),
    v1("Album(ID3v1)", &Id3v1::Album),
    v2("Artist", &ID3v24::LeadPerformer),
    v2("Artist sort order", &ID3v24::PerformerSort),
    v1("Artist(ID3v1)", &Id3v1::Artist),
    v2("Band/Orchestra", &ID3v24::Band),
    v2("Beats Per Minute (BMP)", &ID3v24::BeatsPerMinute),
    v1("Comment(ID3v1)", &Id3v1::Comment),
    v2("Commercial Information URL", &ID3v24::CommercialUrl),
    v2("Composer", &ID3v24::Composer),
    v2("Conductor", &ID3v24::Conductor),
    v2("Content Group", &ID3v24::ContentGroup),
    v2("Copyright", &ID3v24::Copyright),
    v2("Copyright information URL", &ID3v24::CopyRightUrl),
    v2("Encoded by", &ID3v24::EncodedBy),
    v2("Encoding Time", &ID3v24::EncodingTime),
    v2("File Owner/Licensee", &ID3v24::FileOwner),
    v2("Genre", &ID3v24::ContentType),
    v1("Genre(ID3v1)", &Id3v1::Genre),
    v2("Initial Key", &ID3v24::InitialKey),
    v2("Internet Radio Owner", &ID3v24::InternetRadioOwner),
    v2("Internet Station Radio Name", &ID3v24::InternetRadioName),
    v2("Language", &ID3v24::Language),
    v2("Lyricist", &ID3v24::TextWriter),
    v2("Mood", &ID3v24::Mood),
    v2("Official Artist URL", &ID3v24::ArtistUrl),
    v2("Official Audio File URL", &ID3v24::AudioUrl),
    v2("Official Audio Source URL", &ID3v24::AudioSourceUrl),
    v2("Official Internet Radio URL", &ID3v24::RadioUrl),
    v2("Official Publisher URL", &ID3v24::PublisherUrl),
    v2("Orig. Relase Time", &ID3v24::OrigTime),
    v2("Original Album", &ID3v24::OrigAlbum),
    v2("Original Artist", &ID3v24::OrigArtist),
    v2("Original Lyricist", &ID3v24::OrigTextWriter),
    v2("Part of a Set", &ID3v24::PartOfSet),
    v2("Payment URL", &ID3v24::PaymentUrl),
    v2("Produced Notice", &ID3v24::Produced),
    v2("Publisher", &ID3v24::Publisher),
    v2("Recording Time", &ID3v24::RecordTime),
    v2("Relase Time", &ID3v24::RelaseTime),
    v2("Remixed by", &ID3v24::Remixer),
    v2("Subtitle", &ID3v24::SubTitle),
    v2("Subtitle of Set", &ID3v24::SubTitleOfSet),
    v2("Tagging Time", &ID3v24::TagTime),
    v2("Title", &ID3v24::Title),
    v2("Title Sort Order", &ID3v24::TitleSort),
    v1("Title(ID3v1)", &Id3v1::Title),
    v2("Track Num.", &ID3v24::TrackNum),
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
            return frame.v2 ? v2.*frame.v2 : v1.*frame.v1;
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
