// The frame walk that the three readers share, and the parsing of frame
// contents into the FrameStore.
#include <algorithm>
#include <cstring>
#include <vector>

#include "id3v2/bytecursor.h"
#include "id3v2/reader.h"

namespace tagvane {

namespace {

constexpr size_t CopyBlock = 0x80000; // picture bytes move in blocks of 524,288
constexpr size_t ReadAhead = 256 * 1024;

// Reads the tag area through one buffer of large reads, so that small frames
// cost no system call each. Callers check every range against `limit` first.
class TagInput {
public:
    TagInput(File& file, uint64_t limit) : file_(file), limit_(limit) {}

    void read(uint64_t offset, uint8_t* out, size_t n) {
        while (n > 0) {
            if (offset >= start_ && offset < start_ + buffer_.size()) {
                const size_t at = static_cast<size_t>(offset - start_);
                const size_t take = std::min(n, buffer_.size() - at);
                std::memcpy(out, buffer_.data() + at, take);
                out += take;
                offset += take;
                n -= take;
            } else if (n >= ReadAhead) {
                file_.seek(offset);
                file_.readExact(out, n);
                return;
            } else {
                fill(offset);
            }
        }
    }

    // Copies n bytes at offset into `out`, in blocks of at most CopyBlock.
    void copyTo(uint64_t offset, uint64_t n, File& out) {
        if (offset >= start_ && offset < start_ + buffer_.size()) {
            const size_t at = static_cast<size_t>(offset - start_);
            const size_t take = static_cast<size_t>(std::min<uint64_t>(n, buffer_.size() - at));
            for (size_t done = 0; done < take;) {
                const size_t piece = std::min(CopyBlock, take - done);
                out.write(buffer_.data() + at + done, piece);
                done += piece;
            }
            offset += take;
            n -= take;
        }
        if (n > 0)
            out.copyFrom(file_, offset, n, CopyBlock);
    }

private:
    void fill(uint64_t offset) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(ReadAhead, limit_ - offset));
        buffer_.resize(want);
        file_.seek(offset);
        file_.readExact(buffer_.data(), want);
        start_ = offset;
    }

    File& file_;
    uint64_t limit_;
    std::vector<uint8_t> buffer_;
    uint64_t start_ = 0;
};

struct FrameHeader {
    std::string id;
    uint64_t size = 0;
    uint8_t flags1 = 0;
    uint8_t flags2 = 0;
    uint64_t contentOffset = 0;
};

enum class ListKind { None, Comment, Lyrics, UserText, UserUrl, Terms, Picture };

ListKind listKind(const std::string& id) {
    if (id == "COMM")
        return ListKind::Comment;
    if (id == "USLT")
        return ListKind::Lyrics;
    if (id == "TXXX")
        return ListKind::UserText;
    if (id == "WXXX")
        return ListKind::UserUrl;
    if (id == "USER")
        return ListKind::Terms;
    if (id == "APIC")
        return ListKind::Picture;
    return ListKind::None;
}

int32_t& countOf(FrameStore& store, ListKind kind) {
    switch (kind) {
    case ListKind::Comment:
        return store.CommentList.Count;
    case ListKind::Lyrics:
        return store.LyricsList.Count;
    case ListKind::UserText:
        return store.UserTextList.Count;
    case ListKind::UserUrl:
        return store.UserUrlList.Count;
    case ListKind::Terms:
        return store.TermsList.Count;
    case ListKind::Picture:
    case ListKind::None:
        break;
    }
    return store.PictureList.Count;
}

class FrameReader {
public:
    FrameReader(TagInput& input, const VersionDescription& version, const std::string& pictureFolder, FrameStore& store)
        : input_(input), version_(version), pictureFolder_(pictureFolder), store_(store) {
        if (!pictureFolder_.empty() && pictureFolder_.back() != '/')
            pictureFolder_ += '/';
    }

    void frame(const FrameHeader& h) {
        if (!take(h))
            keep(h);
    }

    // Version 2.3 dates come in three frames; they become one at the end.
    void finish() {
        if (version_.keepsFrames && version_.finishKept != nullptr)
            version_.finishKept(dateParts_, store_.Kept);
    }

private:
    // Whether the model took the frame's value or entry.
    bool take(const FrameHeader& h) {
        for (size_t row = 0; row < FrameMapSize; ++row) {
            const char* id = FrameMap[row].*version_.idColumn;
            if (id != nullptr && h.id == id)
                return FrameMap[row].kind == FrameKind::Text ? textFrame(h, store_.Slots[row])
                                                             : urlFrame(h, store_.Slots[row]);
        }
        const ListKind kind = version_.readsLists ? listKind(h.id) : ListKind::None;
        return kind != ListKind::None && listFrame(h, kind);
    }

    // A frame the model has no place for stays as it is, unless its flags
    // say it must go when the tag is altered.
    void keep(const FrameHeader& h) {
        if (!version_.keepsFrames || (h.flags1 & version_.discardMask) != 0)
            return;
        KeptFrame f;
        f.id = h.id;
        f.flags1 = h.flags1;
        f.flags2 = h.flags2;
        const auto bytes = content(h, h.size);
        f.content.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (version_.convertKept == nullptr || version_.convertKept(f, dateParts_))
            store_.Kept.push_back(std::move(f));
    }

    std::vector<uint8_t> content(const FrameHeader& h, uint64_t n) {
        std::vector<uint8_t> bytes(static_cast<size_t>(n));
        input_.read(h.contentOffset, bytes.data(), bytes.size());
        return bytes;
    }

    bool textFrame(const FrameHeader& h, std::string& slot) {
        if ((h.flags2 & version_.skipMask) != 0 || h.size == 0)
            return false;
        const auto bytes = content(h, h.size);
        if (bytes[0] != 0) {
            slot.clear();
            return false;
        }
        slot.assign(reinterpret_cast<const char*>(bytes.data()) + 1, bytes.size() - 1);
        return true;
    }

    bool urlFrame(const FrameHeader& h, std::string& slot) {
        if ((h.flags1 & version_.skipMask) != 0)
            return false;
        const auto bytes = content(h, h.size);
        slot.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return true;
    }

    bool listFrame(const FrameHeader& h, ListKind kind) {
        if ((h.flags1 & version_.skipMask) != 0 || h.size == 0)
            return false;
        if (kind == ListKind::Picture)
            return pictureFrame(h);
        const auto bytes = content(h, h.size);
        ByteCursor c(bytes.data(), bytes.size());
        if (*c.byte() != 0)
            return false; // only encoding 0 is read
        int32_t& count = countOf(store_, kind);
        if (count >= stringarray::Capacity)
            return false; // entries beyond 100 are dropped
        const int n = count + 1;
        bool taken = false;
        switch (kind) {
        case ListKind::Comment:
            taken = languageEntry(c, store_.CommentList, n);
            break;
        case ListKind::Lyrics:
            taken = languageEntry(c, store_.LyricsList, n);
            break;
        case ListKind::UserText:
            taken = describedEntry(c, store_.UserTextList.Description, store_.UserTextList.Value, n);
            break;
        case ListKind::UserUrl:
            taken = describedEntry(c, store_.UserUrlList.Description, store_.UserUrlList.Url, n);
            break;
        case ListKind::Terms: {
            auto language = c.text(3);
            if (language) {
                store_.TermsList.Language[n] = *language;
                store_.TermsList.Text[n] = c.rest();
                taken = true;
            }
            break;
        }
        case ListKind::Picture:
        case ListKind::None:
            break;
        }
        if (!taken)
            return false; // too short for its fixed fields, or a description without NUL
        count = n;
        return true;
    }

    // COMM and USLT: language code, description through its NUL, text.
    template <class List> static bool languageEntry(ByteCursor& c, List& list, int n) {
        auto language = c.text(3);
        auto description = language ? c.textThroughNul() : std::nullopt;
        if (!description)
            return false;
        list.Language[n] = *language;
        list.Description[n] = *description;
        list.Text[n] = c.rest();
        return true;
    }

    // TXXX and WXXX: description through its NUL, then the value.
    static bool describedEntry(ByteCursor& c, stringarray& description, stringarray& value, int n) {
        auto text = c.textThroughNul();
        if (!text)
            return false;
        description[n] = *text;
        value[n] = c.rest();
        return true;
    }

    // The fixed fields are read from the start of the frame; the image bytes
    // go straight from the MP3 file into the picture file.
    bool pictureFrame(const FrameHeader& h) {
        PictureEntries& list = store_.PictureList;
        uint64_t prefix = std::min<uint64_t>(h.size, 64 * 1024);
        for (;;) {
            const auto bytes = content(h, prefix);
            ByteCursor c(bytes.data(), bytes.size());
            if (*c.byte() != 0)
                return false;
            auto mime = c.textThroughNul();
            auto type = mime ? c.byte() : std::nullopt;
            auto description = type ? c.textThroughNul() : std::nullopt;
            if (!description) {
                if (prefix == h.size)
                    return false; // a field without its NUL: the frame is skipped
                prefix = std::min<uint64_t>(h.size, prefix * 8);
                continue;
            }
            if (list.Count >= stringarray::Capacity)
                return false;
            const int n = list.Count + 1;
            const uint64_t dataStart = c.offset();
            const std::string path = pictureFolder_ + pictureFileName(n, *mime);
            if (!folderReady_) {
                makeFolders(pictureFolder_.empty() ? std::string(".") : pictureFolder_);
                folderReady_ = true;
            }
            // A fresh file in place of an old one of the same name: never
            // follows a link planted there, and spares the file system the
            // flush it does when a file is truncated and rewritten.
            if (fileExists(path))
                removeFile(path);
            File out(path, File::Mode::CreateExclusive);
            input_.copyTo(h.contentOffset + dataStart, h.size - dataStart, out);
            out.close();
            list.Mime[n] = *mime;
            list.PictureType[n] = PictureTypeName(*type);
            list.Description[n] = *description;
            list.PictureFile[n] = path;
            list.Count = n;
            return true;
        }
    }

    TagInput& input_;
    const VersionDescription& version_;
    std::string pictureFolder_;
    FrameStore& store_;
    DateParts dateParts_;
    bool folderReady_ = false;
};

} // namespace

std::string pictureFileName(int position, const std::string& mime) {
    std::string name = mime;
    const size_t slash = name.find('/');
    if (slash != std::string::npos)
        name[slash] = '.';
    if (name.find("jpeg") != std::string::npos && name.size() >= 5)
        name.replace(name.size() - 5, 5, "jpg");
    else if (!name.empty())
        name.pop_back();
    // The MIME text comes from the file: keep only characters that cannot
    // leave the picture folder or mean anything to the shell.
    for (char& ch : name) {
        const bool plain = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
                           ch == '.' || ch == '_' || ch == '+' || ch == '-';
        if (!plain)
            ch = '_';
    }
    return std::to_string(position) + name;
}

void readFrames(File& file, uint32_t tagSize, const VersionDescription& version, const std::string& pictureFolder,
                FrameStore& store) {
    // The walk ends at the tag area's end, at the file's end, and at a zero ID.
    const uint64_t limit = std::min<uint64_t>(10 + uint64_t{tagSize}, file.size());
    TagInput input(file, limit);
    FrameReader reader(input, version, pictureFolder, store);
    uint8_t head[10];
    uint64_t pos = 10;
    while (pos <= limit && limit - pos >= version.headerSize) {
        input.read(pos, head, version.headerSize);
        if (std::all_of(head, head + version.idLength, [](uint8_t b) { return b == 0; }))
            break;
        FrameHeader h;
        h.id.assign(reinterpret_cast<const char*>(head), version.idLength);
        h.size = version.frameSize(head + version.idLength);
        h.contentOffset = pos + version.headerSize;
        if (version.headerSize == 10) {
            h.flags1 = head[8];
            h.flags2 = head[9];
        }
        // A frame reaching past the area ends the walk; what was read stays.
        if (h.size > limit - h.contentOffset)
            break;
        reader.frame(h);
        pos = h.contentOffset + h.size;
    }
    reader.finish();
}

} // namespace tagvane
