#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace tagvane {

// 100 strings addressed by 1-based position, the capacity of every entry list.
class stringarray {
public:
    static constexpr int Capacity = 100;
    std::string& operator[](int position) { return items_.at(static_cast<size_t>(position - 1)); }
    const std::string& operator[](int position) const { return items_.at(static_cast<size_t>(position - 1)); }

private:
    std::array<std::string, Capacity> items_;
};

struct CommentEntries {
    stringarray Description, Language, Text;
    int32_t Count = 0;
};
struct LyricsEntries {
    stringarray Description, Language, Text;
    int32_t Count = 0;
};
struct UserTextEntries {
    stringarray Description, Value;
    int32_t Count = 0;
};
struct UserUrlEntries {
    stringarray Description, Url;
    int32_t Count = 0;
};
struct TermsEntries {
    stringarray Language, Text;
    int32_t Count = 0;
};
struct PictureEntries {
    stringarray Description, PictureType, Mime, PictureFile;
    int32_t Count = 0;
};

// Syncsafe integers: 7 bits per byte, most significant first. Decoding does not
// mask the high bits, as the readers have always done.
uint32_t DecodeSyncsafe(uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4);
std::array<uint8_t, 4> EncodeSyncsafe(uint32_t n);

// The APIC picture type byte and its name; bytes above 20 have no name, and a
// name outside the table gives 0.
std::string PictureTypeName(uint8_t code);
uint8_t PictureTypeCode(const std::string& name);

class FrameStore;

// The ID3v2 tag of one MP3 file, whatever version the file holds: read from
// 2.2, 2.3 or 2.4, written back as 2.4. Callers set FileName, call ReadTag,
// change values, then WriteTag or KillTag on the same file.
class ID3v24 {
public:
    ID3v24();
    ~ID3v24();
    ID3v24(const ID3v24&) = delete;
    ID3v24& operator=(const ID3v24&) = delete;

    // Single values, in declaration order (the frame map's order with the
    // presence flag after EncodingTime).
    std::string Album;
    std::string AlbumSort;
    std::string ArtistUrl;
    std::string AudioSourceUrl;
    std::string AudioUrl;
    std::string Band;
    std::string BeatsPerMinute;
    std::string Composer;
    std::string Conductor;
    std::string ContentGroup;
    std::string ContentType;
    std::string Copyright;
    std::string EncodedBy;
    std::string EncodingTime;
    bool Id3v2present = false;
    std::string InitialKey;
    std::string InternetRadioName;
    std::string InternetRadioOwner;
    std::string Language;
    std::string LeadPerformer;
    std::string Mood;
    std::string OrigAlbum;
    std::string OrigArtist;
    std::string OrigTextWriter;
    std::string OrigTime;
    std::string PartOfSet;
    std::string PaymentUrl;
    std::string PerformerSort;
    std::string Publisher;
    std::string PublisherUrl;
    std::string RadioUrl;
    std::string RecordTime;
    std::string RelaseTime;
    std::string Remixer;
    std::string SubTitle;
    std::string SubTitleOfSet;
    std::string TagTime;
    std::string TextWriter;
    std::string Title;
    std::string TitleSort;
    std::string TrackNum;
    std::string CopyRightUrl;
    std::string CommercialUrl;
    std::string FileOwner;
    std::string Produced;
    std::string FileName;
    std::string Version;

    CommentEntries CommentList;
    LyricsEntries LyricsList;
    UserTextEntries UserTextList;
    UserUrlEntries UserUrlList;
    TermsEntries TermsList;
    PictureEntries PictureList;

    void ReadTag(const std::string& PictureFolder, bool HeaderOnly);
    void WriteTag();
    void KillTag();
    void ClearTag();

    void SetComment(const std::string& Description, const std::string& Language, const std::string& Text, int position);
    void SetLyric(const std::string& Description, const std::string& Language, const std::string& Text, int position);
    void SetUserText(const std::string& Description, const std::string& Value, int position);
    void SetUserUrl(const std::string& Description, const std::string& Url, int position);
    void SetTerms(const std::string& Language, const std::string& Text, int position);
    void SetPicture(const std::string& Description, const std::string& PictureType, const std::string& Mime,
                    const std::string& PictureFile, int position);

    void DeleteComment(int position);
    void DeleteLyric(int position);
    void DeleteUserText(int position);
    void DeleteUserUrl(int position);
    void DeleteTerms(int position);
    void DeletePicture(int position);

    uint32_t OldTagSize() const { return oldTagSize_; }

    // Frames of the last normal-mode read that the model has no place for
    // (other text encodings, ratings, private frames, ...). WriteTag writes
    // them after the model's frames, into that same file only.
    int KeptFrameCount() const;
    // Writes the next tags without them (every file of a batch gets the same tag).
    void ClearKeptFrames();

private:
    uint32_t oldTagSize_ = 0;
    std::string pictureFolder_;
    std::string lastFileName_;
    std::string keptFrom_; // the file the kept frames were read from
    std::unique_ptr<FrameStore> readStore_;
    std::unique_ptr<FrameStore> writeStore_;
};

} // namespace tagvane
