// The version 2.4 tag writer: frames, the in-place tag area, and the growing
// path through a new file that replaces the MP3 file in one rename.
#include <algorithm>
#include <cstring>
#include <vector>

#include "id3v2/framemap.h"
#include "id3v2/writer.h"
#include "platform/File.h"

namespace tagvane {

namespace {

constexpr size_t CopyBlock = 0x80000;
constexpr size_t ZeroBlock = 1024;

// Where the frames go: counted, collected in memory, or written to a file.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void bytes(const uint8_t* data, size_t n) = 0;
    // The whole content of a picture file, whose size was taken before.
    virtual void file(const std::string& path, uint64_t size) {
        File in(path, File::Mode::Read);
        std::vector<uint8_t> block(static_cast<size_t>(std::min<uint64_t>(size, CopyBlock)));
        for (uint64_t left = size; left > 0;) {
            const size_t piece = static_cast<size_t>(std::min<uint64_t>(left, block.size()));
            in.readExact(block.data(), piece);
            bytes(block.data(), piece);
            left -= piece;
        }
        in.close();
    }
    virtual void zeros(uint64_t n) {
        static const uint8_t none[ZeroBlock] = {};
        for (; n > 0;) {
            const size_t piece = static_cast<size_t>(std::min<uint64_t>(n, sizeof none));
            bytes(none, piece);
            n -= piece;
        }
    }
    void text(const std::string& s) { bytes(reinterpret_cast<const uint8_t*>(s.data()), s.size()); }
};

class CountingSink : public Sink {
public:
    uint64_t total = 0;
    void bytes(const uint8_t*, size_t n) override { total += n; }
    void file(const std::string&, uint64_t size) override { total += size; }
    void zeros(uint64_t n) override { total += n; }
};

class MemorySink : public Sink {
public:
    std::vector<uint8_t> data;
    void bytes(const uint8_t* p, size_t n) override { data.insert(data.end(), p, p + n); }
    void zeros(uint64_t n) override { data.resize(data.size() + static_cast<size_t>(n), 0); }
};

// Writes through a buffer of large writes. The first `holdBack` bytes are kept
// aside instead, for the caller to write last.
class FileSink : public Sink {
public:
    explicit FileSink(File& out, size_t holdBack = 0) : out_(out), holdBack_(holdBack) { buffer_.reserve(Buffer); }
    void bytes(const uint8_t* p, size_t n) override {
        while (n > 0 && held.size() < holdBack_) {
            held.push_back(*p++);
            --n;
        }
        if (buffer_.size() + n > Buffer)
            flush();
        if (n >= Buffer) {
            out_.write(p, n);
            return;
        }
        buffer_.insert(buffer_.end(), p, p + n);
    }
    void flush() {
        if (!buffer_.empty())
            out_.write(buffer_.data(), buffer_.size());
        buffer_.clear();
    }
    std::vector<uint8_t> held;

private:
    static constexpr size_t Buffer = 1024 * 1024;
    File& out_;
    size_t holdBack_;
    std::vector<uint8_t> buffer_;
};

void tagHeader(Sink& out, uint32_t tagSize) {
    const auto size = EncodeSyncsafe(tagSize);
    const uint8_t header[10] = {'I', 'D', '3', 0x04, 0x00, 0x00, size[0], size[1], size[2], size[3]};
    out.bytes(header, sizeof header);
}

void frameHeader(Sink& out, const char* id, uint64_t size, uint8_t flags1 = 0, uint8_t flags2 = 0) {
    const auto s = EncodeSyncsafe(static_cast<uint32_t>(size));
    const uint8_t header[10] = {static_cast<uint8_t>(id[0]),
                                static_cast<uint8_t>(id[1]),
                                static_cast<uint8_t>(id[2]),
                                static_cast<uint8_t>(id[3]),
                                s[0],
                                s[1],
                                s[2],
                                s[3],
                                flags1,
                                flags2};
    out.bytes(header, sizeof header);
}

// A whole frame whose content is assembled in memory.
void frame(Sink& out, const char* id, const std::string& content) {
    frameHeader(out, id, content.size());
    out.text(content);
}

// Exactly three bytes: "XXX" marks an unknown language.
std::string language3(const std::string& language) {
    return language.size() < 3 ? "XXX" : language.substr(0, 3);
}

const std::string Zero(1, '\0');

// Every frame of the store, in the writer's order. Counting and writing both
// run through here, so the size computed is the size written.
void emitFrames(const FrameStore& s, const std::vector<uint64_t>& pictureSizes, Sink& out) {
    for (size_t i = 0; i < FrameMapSize; ++i) {
        const std::string& value = s.Slots[i];
        if (value.empty())
            continue;
        frame(out, FrameMap[i].v24, FrameMap[i].kind == FrameKind::Text ? Zero + value : value);
    }
    for (int i = 1; i <= s.LyricsList.Count; ++i)
        frame(out, "USLT",
              Zero + language3(s.LyricsList.Language[i]) + s.LyricsList.Description[i] + s.LyricsList.Text[i]);
    for (int i = 1; i <= s.PictureList.Count; ++i) {
        const std::string fixed = Zero + s.PictureList.Mime[i] +
                                  static_cast<char>(PictureTypeCode(s.PictureList.PictureType[i])) +
                                  s.PictureList.Description[i];
        const uint64_t size = pictureSizes[static_cast<size_t>(i - 1)];
        frameHeader(out, "APIC", fixed.size() + size);
        out.text(fixed);
        out.file(s.PictureList.PictureFile[i], size);
    }
    for (int i = 1; i <= s.TermsList.Count; ++i)
        frame(out, "USER", Zero + language3(s.TermsList.Language[i]) + s.TermsList.Text[i]);
    for (int i = 1; i <= s.UserUrlList.Count; ++i)
        frame(out, "WXXX", Zero + s.UserUrlList.Description[i] + s.UserUrlList.Url[i]);
    for (int i = 1; i <= s.UserTextList.Count; ++i)
        frame(out, "TXXX", Zero + s.UserTextList.Description[i] + s.UserTextList.Value[i]);
    for (int i = 1; i <= s.CommentList.Count; ++i)
        frame(out, "COMM",
              Zero + language3(s.CommentList.Language[i]) + s.CommentList.Description[i] + s.CommentList.Text[i]);
    // Then what the model could not show, unless the model now writes a value
    // of the same ID: what the user typed replaces what they could not see.
    for (const KeptFrame& kept : s.Kept) {
        bool replaced = false;
        for (size_t i = 0; i < FrameMapSize && !replaced; ++i)
            replaced = kept.id == FrameMap[i].v24 && !s.Slots[i].empty();
        if (replaced)
            continue;
        frameHeader(out, kept.id.c_str(), kept.content.size(), kept.flags1, kept.flags2);
        out.text(kept.content);
    }
}

// Opens every picture file once for its size, before the MP3 file is touched.
std::vector<uint64_t> pictureSizes(const FrameStore& s) {
    std::vector<uint64_t> sizes;
    for (int i = 1; i <= s.PictureList.Count; ++i) {
        File f(s.PictureList.PictureFile[i], File::Mode::Read);
        sizes.push_back(f.size());
        f.close();
    }
    return sizes;
}

[[noreturn]] void refuseSize(const std::string& path) {
    throw InOutError("Cannot write file \"" + path + "\": The tag would be 268435456 bytes or more");
}

// Writes header, frames and zero padding over the first tagSize + 10 bytes.
// Below SingleWriteLimit that is one write. Above, the first frame ID is
// zeroed first, so that until the last write the file reads as an empty tag.
void writeInPlace(const std::string& path, uint32_t tagSize, const FrameStore* store,
                  const std::vector<uint64_t>& sizes, uint64_t needed) {
    const uint64_t area = uint64_t{tagSize} + 10;
    File f(path, File::Mode::ReadWrite);
    if (area < SingleWriteLimit) {
        MemorySink m;
        m.data.reserve(static_cast<size_t>(area));
        tagHeader(m, tagSize);
        if (store != nullptr)
            emitFrames(*store, sizes, m);
        m.zeros(area - 10 - needed);
        f.write(m.data.data(), m.data.size());
    } else {
        constexpr size_t head = 14; // the tag header and the first frame ID
        const uint8_t none[4] = {};
        f.seek(10);
        f.write(none, sizeof none);
        f.seek(head);
        FileSink sink(f, head);
        tagHeader(sink, tagSize);
        if (store != nullptr)
            emitFrames(*store, sizes, sink);
        sink.zeros(area - 10 - needed);
        sink.flush();
        f.seek(0);
        f.write(sink.held.data(), sink.held.size());
    }
    f.close();
}

// Builds the grown file beside the MP3 file and renames it over it. The bytes
// are those of blanking the old tag area, inserting the zero area in front and
// writing the frames at the start; the MP3 file itself is never written.
void writeGrowing(const std::string& fileName, bool tagPresent, uint32_t oldTagSize, const FrameStore& store,
                  const std::vector<uint64_t>& sizes, uint64_t needed) {
    const std::string target = realPath(fileName); // a link stays a link; its target is replaced
    const FileStatus status = fileStatus(target);
    const uint64_t old = tagPresent ? oldTagSize : 0;
    const uint64_t area = needed + 10;
    const uint64_t zeroArea = ((area - old) / ZeroBlock + 1) * ZeroBlock;
    const uint64_t blanked = tagPresent ? old + 10 : 0; // old header and tag area
    const uint64_t total = zeroArea + blanked;          // bytes before the audio

    File source(target, File::Mode::Read);
    const uint64_t sourceSize = source.size();
    const std::string prefix = target.size() >= 3 ? target.substr(0, target.size() - 3) + "tmp" : target + ".tmp";
    File temp = File::createUnique(prefix);
    const std::string tempName = temp.path();
    try {
        FileSink sink(temp);
        tagHeader(sink, static_cast<uint32_t>(needed));
        emitFrames(store, sizes, sink);
        // Between the frames and the audio: zeros, and where the old tag began,
        // the header that blanking leaves (unless the frames reach over it).
        uint8_t blankHeader[10] = {'I', 'D', '3', 0x04, 0x00, 0x00, 0, 0, 0, 0};
        const uint64_t lastBlock = blanked <= CopyBlock ? blanked : blanked % CopyBlock;
        const auto size = EncodeSyncsafe(static_cast<uint32_t>(lastBlock));
        std::copy(size.begin(), size.end(), blankHeader + 6);
        uint64_t at = area;
        if (tagPresent) {
            if (at < zeroArea) {
                sink.zeros(zeroArea - at);
                at = zeroArea;
            }
            if (at < zeroArea + 10) {
                const size_t from = static_cast<size_t>(at - zeroArea);
                sink.bytes(blankHeader + from, 10 - from);
                at = zeroArea + 10;
            }
        }
        sink.zeros(total - at);
        // Then the audio: everything after the old tag area.
        sink.flush();
        if (sourceSize > blanked)
            temp.copyFrom(source, blanked, sourceSize - blanked, CopyBlock);
        temp.setPermissions(status.mode);
        temp.setOwner(status.uid, status.gid);
        temp.sync();
        temp.close();
        source.close();
        renameReplace(tempName, target);
    } catch (...) {
        temp = File();
        try {
            removeFile(tempName);
        } catch (const InOutError&) {
            // The first failure is the one to report.
        }
        throw;
    }
    syncFolder(folderOf(target));
}

} // namespace

uint64_t ComputeNeededSize(const FrameStore& store) {
    CountingSink count;
    emitFrames(store, pictureSizes(store), count);
    return count.total;
}

void writeTag24(const FrameStore& store, bool tagPresent, uint32_t oldTagSize, const std::string& fileName) {
    const std::vector<uint64_t> sizes = pictureSizes(store);
    CountingSink count;
    emitFrames(store, sizes, count);
    const uint64_t needed = count.total;
    if (!tagPresent || oldTagSize < needed) {
        if (needed >= MaxTagSize)
            refuseSize(fileName);
        writeGrowing(fileName, tagPresent, oldTagSize, store, sizes, needed);
    } else {
        if (oldTagSize >= MaxTagSize)
            refuseSize(fileName);
        writeInPlace(fileName, oldTagSize, &store, sizes, needed);
    }
}

void killTag24(bool tagPresent, uint32_t oldTagSize, const std::string& fileName) {
    if (!tagPresent)
        return;
    if (oldTagSize >= MaxTagSize)
        refuseSize(fileName);
    writeInPlace(fileName, oldTagSize, nullptr, {}, 0);
}

} // namespace tagvane
