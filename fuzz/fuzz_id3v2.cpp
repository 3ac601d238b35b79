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

template <class List> void sameColumn(const List& a, const List& b, stringarray List::*column, const char* name) {
    for (int i = 1; i <= a.Count; ++i)
        check((a.*column)[i] == (b.*column)[i], std::string(name) + " " + std::to_string(i));
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
    for (const auto& row : tagvane::FrameMap)
        check(second.*row.member == first.*row.member, row.property);
    check(second.CommentList.Count == first.CommentList.Count, "CommentList.Count");
    check(second.LyricsList.Count == first.LyricsList.Count, "LyricsList.Count");
    check(second.UserTextList.Count == first.UserTextList.Count, "UserTextList.Count");
    check(second.UserUrlList.Count == first.UserUrlList.Count, "UserUrlList.Count");
    check(second.TermsList.Count == first.TermsList.Count, "TermsList.Count");
    check(second.PictureList.Count == first.PictureList.Count, "PictureList.Count");
    sameColumn(first.CommentList, second.CommentList, &tagvane::CommentEntries::Description, "comment description");
    sameColumn(first.CommentList, second.CommentList, &tagvane::CommentEntries::Language, "comment language");
    sameColumn(first.CommentList, second.CommentList, &tagvane::CommentEntries::Text, "comment text");
    sameColumn(first.LyricsList, second.LyricsList, &tagvane::LyricsEntries::Text, "lyrics text");
    sameColumn(first.UserTextList, second.UserTextList, &tagvane::UserTextEntries::Value, "user text");
    sameColumn(first.UserUrlList, second.UserUrlList, &tagvane::UserUrlEntries::Url, "user URL");
    sameColumn(first.TermsList, second.TermsList, &tagvane::TermsEntries::Text, "terms");
    sameColumn(first.PictureList, second.PictureList, &tagvane::PictureEntries::Mime, "picture MIME");
    sameColumn(first.PictureList, second.PictureList, &tagvane::PictureEntries::Description, "picture description");
    for (int i = 1; i <= first.PictureList.Count; ++i) {
        // A type byte without a name is written as 0, "Other".
        const std::string type = first.PictureList.PictureType[i].empty() ? "Other" : first.PictureList.PictureType[i];
        check(second.PictureList.PictureType[i] == type, "picture type");
    }
    return 0;
}
