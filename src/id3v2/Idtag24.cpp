#include "id3v2/Idtag24.h"

#include <cstring>
#include <iterator>

#include "id3v2/framemap.h"
#include "id3v2/framestore.h"
#include "id3v2/reader.h"
#include "id3v2/writer.h"
#include "platform/File.h"

namespace tagvane {

uint32_t DecodeSyncsafe(uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4) {
    return (uint32_t{b1} << 21) + (uint32_t{b2} << 14) + (uint32_t{b3} << 7) + uint32_t{b4};
}

std::array<uint8_t, 4> EncodeSyncsafe(uint32_t n) {
    return {static_cast<uint8_t>((n >> 21) & 0x7F), static_cast<uint8_t>((n >> 14) & 0x7F),
            static_cast<uint8_t>((n >> 7) & 0x7F), static_cast<uint8_t>(n & 0x7F)};
}

namespace {

constexpr const char* PictureTypes[] = {
    "Other",
    "32x32 pixels 'file icon' (PNG only)",
    "Other file icon",
    "Cover (front)",
    "Cover (back)",
    "Leaflet page",
    "Media (e.g. label side of CD)",
    "Lead artist/lead performer/soloist",
    "Artist/performer",
    "Conductor",
    "Band/Orchestra",
    "Composer",
    "Lyricist/text writer",
    "Recording Location",
    "During recording",
    "During performance",
    "Movie/video screen capture",
    "A bright coloured fish",
    "Illustration",
    "Band/artist logotype",
    "Publisher/Studio logotype",
};
static_assert(std::size(PictureTypes) == 21);

// Moves the entries after `position` down by one, all columns together.
template <class List, class... Columns> void deleteEntry(List& list, int position, Columns... columns) {
    if (list.Count <= 0 || position < 1 || position > list.Count)
        return;
    for (int i = position; i < list.Count; ++i)
        (((list.*columns)[i] = (list.*columns)[i + 1]), ...);
    --list.Count;
}

template <class List> void grow(List& list, int position) {
    if (position > list.Count)
        list.Count = position;
}

} // namespace

std::string PictureTypeName(uint8_t code) {
    return code < std::size(PictureTypes) ? PictureTypes[code] : "";
}

uint8_t PictureTypeCode(const std::string& name) {
    for (size_t i = 0; i < std::size(PictureTypes); ++i)
        if (name == PictureTypes[i])
            return static_cast<uint8_t>(i);
    return 0;
}

ID3v24::ID3v24() : readStore_(std::make_unique<FrameStore>()), writeStore_(std::make_unique<FrameStore>()) {}
ID3v24::~ID3v24() = default;

void ID3v24::ReadTag(const std::string& PictureFolder, bool HeaderOnly) {
    pictureFolder_ = PictureFolder;
    lastFileName_ = FileName;
    // Read only, so that files the user may not change can still be viewed.
    File file(FileName, File::Mode::Read);
    uint8_t header[10];
    file.readExact(header, sizeof header);
    oldTagSize_ = 0;
    if (!HeaderOnly || FileName != keptFrom_)
        ClearKeptFrames(); // nothing is carried into another file
    if (!HeaderOnly) {
        ClearTag();
        CommentList.Count = LyricsList.Count = UserTextList.Count = 0;
        UserUrlList.Count = TermsList.Count = PictureList.Count = 0;
    }
    if (std::memcmp(header, "ID3", 3) == 0) {
        Id3v2present = true;
        const VersionDescription* version = header[3] == 4   ? &Version24
                                            : header[3] == 3 ? &Version23
                                            : header[3] == 2 ? &Version22
                                                             : nullptr;
        if (version != nullptr && header[5] == 0) {
            oldTagSize_ = DecodeSyncsafe(header[6], header[7], header[8], header[9]);
            if (!HeaderOnly) {
                readStore_->clear();
                readFrames(file, oldTagSize_, *version, pictureFolder_, *readStore_);
                keptFrom_ = FileName;
            }
            Version = version->name;
            if (!HeaderOnly) {
                for (size_t i = 0; i < FrameMapSize; ++i)
                    this->*FrameMap[i].member = readStore_->Slots[i];
                CommentList = readStore_->CommentList;
                LyricsList = readStore_->LyricsList;
                UserTextList = readStore_->UserTextList;
                UserUrlList = readStore_->UserUrlList;
                TermsList = readStore_->TermsList;
                PictureList = readStore_->PictureList;
            }
        }
    } else {
        Id3v2present = false;
    }
    file.close();
}

void ID3v24::WriteTag() {
    FrameStore& store = *writeStore_;
    for (size_t i = 0; i < FrameMapSize; ++i)
        store.Slots[i] = this->*FrameMap[i].member;
    store.CommentList = CommentList;
    store.LyricsList = LyricsList;
    store.UserTextList = UserTextList;
    store.UserUrlList = UserUrlList;
    store.TermsList = TermsList;
    store.PictureList = PictureList;
    store.Kept = FileName == keptFrom_ ? readStore_->Kept : std::vector<KeptFrame>();
    writeTag24(store, Id3v2present, oldTagSize_, FileName);
}

int ID3v24::KeptFrameCount() const { return static_cast<int>(readStore_->Kept.size()); }

void ID3v24::ClearKeptFrames() {
    readStore_->Kept.clear();
    keptFrom_.clear();
}

void ID3v24::KillTag() {
    killTag24(Id3v2present, oldTagSize_, FileName);
}

void ID3v24::ClearTag() {
    for (size_t i = 0; i < FrameMapSize; ++i) {
        this->*FrameMap[i].member = std::string();
        readStore_->Slots[i].clear();
    }
}

void ID3v24::SetComment(const std::string& Description, const std::string& Language, const std::string& Text,
                        int position) {
    CommentList.Description[position] = Description;
    CommentList.Language[position] = Language;
    CommentList.Text[position] = Text;
    grow(CommentList, position);
}

void ID3v24::SetLyric(const std::string& Description, const std::string& Language, const std::string& Text,
                      int position) {
    LyricsList.Description[position] = Description;
    LyricsList.Language[position] = Language;
    LyricsList.Text[position] = Text;
    grow(LyricsList, position);
}

void ID3v24::SetUserText(const std::string& Description, const std::string& Value, int position) {
    UserTextList.Description[position] = Description;
    UserTextList.Value[position] = Value;
    grow(UserTextList, position);
}

void ID3v24::SetUserUrl(const std::string& Description, const std::string& Url, int position) {
    UserUrlList.Description[position] = Description;
    UserUrlList.Url[position] = Url;
    grow(UserUrlList, position);
}

void ID3v24::SetTerms(const std::string& Language, const std::string& Text, int position) {
    TermsList.Language[position] = Language;
    TermsList.Text[position] = Text;
    grow(TermsList, position);
}

void ID3v24::SetPicture(const std::string& Description, const std::string& PictureType, const std::string& Mime,
                        const std::string& PictureFile, int position) {
    PictureList.Description[position] = Description;
    PictureList.PictureType[position] = PictureType;
    PictureList.Mime[position] = Mime;
    PictureList.PictureFile[position] = PictureFile;
    grow(PictureList, position);
}

void ID3v24::DeleteComment(int position) {
    deleteEntry(CommentList, position, &CommentEntries::Description, &CommentEntries::Language, &CommentEntries::Text);
}

void ID3v24::DeleteLyric(int position) {
    deleteEntry(LyricsList, position, &LyricsEntries::Description, &LyricsEntries::Language, &LyricsEntries::Text);
}

void ID3v24::DeleteUserText(int position) {
    deleteEntry(UserTextList, position, &UserTextEntries::Description, &UserTextEntries::Value);
}

void ID3v24::DeleteUserUrl(int position) {
    deleteEntry(UserUrlList, position, &UserUrlEntries::Description, &UserUrlEntries::Url);
}

void ID3v24::DeleteTerms(int position) {
    deleteEntry(TermsList, position, &TermsEntries::Language, &TermsEntries::Text);
}

void ID3v24::DeletePicture(int position) {
    deleteEntry(PictureList, position, &PictureEntries::Description, &PictureEntries::PictureType,
                &PictureEntries::Mime, &PictureEntries::PictureFile);
}

} // namespace tagvane
