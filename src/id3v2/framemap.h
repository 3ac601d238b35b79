#pragma once

#include <cstddef>
#include <iterator>
#include <string>

#include "id3v2/Idtag24.h"

namespace tagvane {

enum class FrameKind { Text, Url };

// One single value of the model and the frame that carries it in each version.
// A null ID means that version's reader does not take the value from any frame.
struct FrameMapRow {
    const char* property;
    std::string ID3v24::*member;
    const char* v24;
    const char* v23;
    const char* v22;
    FrameKind kind;
};

// The order is the FrameStore's slot order and the order the writer emits.
inline constexpr FrameMapRow FrameMap[] = {
    {"Album", &ID3v24::Album, "TALB", "TALB", "TAL", FrameKind::Text},
    {"AlbumSort", &ID3v24::AlbumSort, "TSOA", nullptr, nullptr, FrameKind::Text},
    {"ArtistUrl", &ID3v24::ArtistUrl, "WOAR", "WOAR", "WAR", FrameKind::Url},
    {"AudioSourceUrl", &ID3v24::AudioSourceUrl, "WOAS", "WOAS", "WAS", FrameKind::Url},
    {"AudioUrl", &ID3v24::AudioUrl, "WOAF", "WOAF", "WAF", FrameKind::Url},
    {"Band", &ID3v24::Band, "TPE2", "TPE2", "TP2", FrameKind::Text},
    {"BeatsPerMinute", &ID3v24::BeatsPerMinute, "TBPM", "TBPM", "TBP", FrameKind::Text},
    {"Composer", &ID3v24::Composer, "TCOM", "TCOM", "TCM", FrameKind::Text},
    {"Conductor", &ID3v24::Conductor, "TPE3", "TPE3", "TP3", FrameKind::Text},
    {"ContentGroup", &ID3v24::ContentGroup, "TIT1", "TIT1", "TT1", FrameKind::Text},
    {"ContentType", &ID3v24::ContentType, "TCON", "TCON", "TCO", FrameKind::Text},
    {"Copyright", &ID3v24::Copyright, "TCOP", "TCOP", "TCR", FrameKind::Text},
    {"EncodedBy", &ID3v24::EncodedBy, "TENC", "TENC", "TEN", FrameKind::Text},
    {"EncodingTime", &ID3v24::EncodingTime, "TDEN", nullptr, nullptr, FrameKind::Text},
    {"InitialKey", &ID3v24::InitialKey, "TKEY", "TKEY", "TKE", FrameKind::Text},
    {"InternetRadioName", &ID3v24::InternetRadioName, "TRSN", "TRSN", nullptr, FrameKind::Text},
    {"InternetRadioOwner", &ID3v24::InternetRadioOwner, "TRSO", "TRSO", nullptr, FrameKind::Text},
    {"Language", &ID3v24::Language, "TLAN", "TLAN", "TLA", FrameKind::Text},
    {"LeadPerformer", &ID3v24::LeadPerformer, "TPE1", "TPE1", "TP1", FrameKind::Text},
    {"Mood", &ID3v24::Mood, "TMOO", nullptr, nullptr, FrameKind::Text},
    {"OrigAlbum", &ID3v24::OrigAlbum, "TOAL", "TOAL", "TOT", FrameKind::Text},
    {"OrigArtist", &ID3v24::OrigArtist, "TOPE", "TOPE", "TOA", FrameKind::Text},
    {"OrigTextWriter", &ID3v24::OrigTextWriter, "TOLY", "TOLY", "TOL", FrameKind::Text},
    {"OrigTime", &ID3v24::OrigTime, "TDOR", "TORY", "TOR", FrameKind::Text},
    {"PartOfSet", &ID3v24::PartOfSet, "TPOS", "TPOS", "TPA", FrameKind::Text},
    {"PaymentUrl", &ID3v24::PaymentUrl, "WPAY", "WPAY", nullptr, FrameKind::Url},
    {"PerformerSort", &ID3v24::PerformerSort, "TSOP", nullptr, nullptr, FrameKind::Text},
    {"Publisher", &ID3v24::Publisher, "TPUB", "TPUB", "TPB", FrameKind::Text},
    {"PublisherUrl", &ID3v24::PublisherUrl, "WPUB", "WPUB", "WPB", FrameKind::Url},
    {"RadioUrl", &ID3v24::RadioUrl, "WORS", "WORS", nullptr, FrameKind::Url},
    {"RecordTime", &ID3v24::RecordTime, "TDRC", "TRDA", nullptr, FrameKind::Text},
    {"RelaseTime", &ID3v24::RelaseTime, "TDRL", nullptr, nullptr, FrameKind::Text},
    {"Remixer", &ID3v24::Remixer, "TPE4", "TPE4", "TP4", FrameKind::Text},
    {"SubTitle", &ID3v24::SubTitle, "TIT3", "TIT3", "TT3", FrameKind::Text},
    {"SubTitleOfSet", &ID3v24::SubTitleOfSet, "TSST", nullptr, nullptr, FrameKind::Text},
    {"TagTime", &ID3v24::TagTime, "TDTG", nullptr, nullptr, FrameKind::Text},
    {"TextWriter", &ID3v24::TextWriter, "TEXT", "TEXT", "TXT", FrameKind::Text},
    {"Title", &ID3v24::Title, "TIT2", "TIT2", "TT2", FrameKind::Text},
    {"TitleSort", &ID3v24::TitleSort, "TSOT", nullptr, nullptr, FrameKind::Text},
    {"TrackNum", &ID3v24::TrackNum, "TRCK", "TRCK", "TRK", FrameKind::Text},
    {"CopyRightUrl", &ID3v24::CopyRightUrl, "WCOP", "WCOP", nullptr, FrameKind::Url},
    {"CommercialUrl", &ID3v24::CommercialUrl, "WCOM", "WCOM", nullptr, FrameKind::Url},
    {"FileOwner", &ID3v24::FileOwner, "TOWN", nullptr, nullptr, FrameKind::Text},
    {"Produced", &ID3v24::Produced, "TPRO", nullptr, nullptr, FrameKind::Text},
};

inline constexpr size_t FrameMapSize = std::size(FrameMap);
static_assert(FrameMapSize == 44, "the model has 44 single values");

namespace framemap_detail {
constexpr size_t countColumn(const char* FrameMapRow::*column) {
    size_t n = 0;
    for (const auto& row : FrameMap)
        if (row.*column != nullptr)
            ++n;
    return n;
}
} // namespace framemap_detail
static_assert(framemap_detail::countColumn(&FrameMapRow::v23) == 34, "ID3v2.3 takes 34 of the values");
static_assert(framemap_detail::countColumn(&FrameMapRow::v22) == 27, "ID3v2.2 takes 27 of the values");

} // namespace tagvane
