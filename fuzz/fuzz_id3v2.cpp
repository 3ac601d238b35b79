// Feeds arbitrary file contents to the ID3v2 readers. Whatever the bytes hold
// must read without a crash; the model read must survive a write into the same
// file and a second read unchanged.
#include "id3v2/Idtag24.h"
#include "id3v2/framemap.h"
#include "platform/InOutError.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

using tagvane::ID3v24;
using tagvane::stringarray;

namespace {

const std::string& scratchFolder() {
    static const std::string path = [] {
        char pattern[] = "/tmp/tagvane-fuzz-id3v2-XXXXXX";
        if (mkdtemp(pattern) == nullptr)
            std::abort();
        return std::string(pattern) + "/";
    }();
    return path;
}

void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        std::abort();
    std::fclose(f);
}

void check(bool condition, const std::string& what) {
    if (!condition) {
        std::fprintf(stderr, "round trip changed %s\n", what.c_str());
        std::abort();
    }
}

// Entries 1 to a's Count must read the same in b. With `gains`, b may hold
// more entries after them.
template <class List>
void sameColumn(const List& a, const List& b, stringarray List::*column, const char* name, bool gains) {
    check(gains ? b.Count >= a.Count : b.Count == a.Count, std::string(name) + " count");
    for (int i = 1; i <= a.Count; ++i)
        check((a.*column)[i] == (b.*column)[i], std::string(name) + " " + std::to_string(i));
}

// What b read must be what a read. `gains`: a came from a 2.3 tag whose kept
// frames were brought to 2.4, where some of them (TYER as TDRC, an ID that
// only 2.4 defines) are values the model takes; those may fill what a left
// empty, but nothing a held may change.
void sameModel(const ID3v24& a, const ID3v24& b, bool gains) {
    for (const auto& row : tagvane::FrameMap)
        if (!(gains && (a.*row.member).empty()))
            check(b.*row.member == a.*row.member, row.property);
    sameColumn(a.CommentList, b.CommentList, &tagvane::CommentEntries::Description, "comment description", gains);
    sameColumn(a.CommentList, b.CommentList, &tagvane::CommentEntries::Language, "comment language", gains);
    sameColumn(a.CommentList, b.CommentList, &tagvane::CommentEntries::Text, "comment text", gains);
    sameColumn(a.LyricsList, b.LyricsList, &tagvane::LyricsEntries::Text, "lyrics text", gains);
    sameColumn(a.UserTextList, b.UserTextList, &tagvane::UserTextEntries::Value, "user text", gains);
    sameColumn(a.UserUrlList, b.UserUrlList, &tagvane::UserUrlEntries::Url, "user URL", gains);
    sameColumn(a.TermsList, b.TermsList, &tagvane::TermsEntries::Text, "terms", gains);
    sameColumn(a.PictureList, b.PictureList, &tagvane::PictureEntries::Mime, "picture MIME", gains);
    sameColumn(a.PictureList, b.PictureList, &tagvane::PictureEntries::Description, "picture description", gains);
    for (int i = 1; i <= a.PictureList.Count; ++i) {
        // A type byte without a name is written as 0, "Other".
        const std::string type = a.PictureList.PictureType[i].empty() ? "Other" : a.PictureList.PictureType[i];
        check(b.PictureList.PictureType[i] == type, "picture type");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = scratchFolder() + "song.mp3";
    const std::string pictures = scratchFolder() + "pictures/";
    writeFile(path, data, size);
    ID3v24 first;
    first.FileName = path;
    try {
        first.ReadTag(pictures, false);
    } catch (const tagvane::InOutError&) {
        check(size < 10, "the verdict on a file with a header");
        return 0;
    }
    // A declared tag far beyond the file would be written out in full; that is
    // legal but only slows the search down.
    if (first.OldTagSize() > size + 65536)
        return 0;
    first.WriteTag();
    ID3v24 second;
    second.FileName = path;
    second.ReadTag(pictures + "again/", false);
    check(second.Id3v2present && second.Version == "2.4", "the header");
    sameModel(first, second, first.Version == "2.3" && first.KeptFrameCount() > 0);
    check(second.KeptFrameCount() <= first.KeptFrameCount(), "the kept frames");

    // Once written as 2.4, the tag is settled: writing it again changes nothing.
    second.WriteTag();
    ID3v24 third;
    third.FileName = path;
    third.ReadTag(pictures + "third/", false);
    sameModel(second, third, false);
    check(third.KeptFrameCount() == second.KeptFrameCount(), "the kept frames, written twice");
    return 0;
}
