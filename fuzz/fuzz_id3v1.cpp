// Feeds arbitrary file contents to Id3v1::ReadTag. Whatever a block holds
// must read without a crash, and what was read must survive a write and a
// second read unchanged.
#include "id3v1/Id3.h"
#include "platform/InOutError.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

const std::string &scratchFile() {
    static const std::string path = [] {
        char pattern[] = "/tmp/tagvane-fuzz-id3v1-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd < 0)
            std::abort();
        close(fd);
        return std::string(pattern);
    }();
    return path;
}

void writeFile(const std::string &path, const uint8_t *data, size_t size) {
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        std::abort();
    std::fclose(f);
}

void check(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "round trip changed %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string &path = scratchFile();
    writeFile(path, data, size);
    tagvane::Id3v1 tag;
    tag.FileName = path;
    try {
        tag.ReadTag();
    } catch (const tagvane::InOutError &) {
        check(size < tagvane::Id3v1::BlockSize, "the verdict on a file long enough to hold a block");
        return 0;
    }
    if (!tag.ID3v1Present)
        return 0;
    tagvane::Id3v1 first = tag;
    tag.WriteTag();
    tag.ReadTag();
    check(tag.ID3v1Present, "the presence");
    check(tag.Title == first.Title, "Title");
    check(tag.Artist == first.Artist, "Artist");
    check(tag.Album == first.Album, "Album");
    check(tag.Year == first.Year, "Year");
    check(tag.Comment == first.Comment, "Comment");
    check(tag.Genre == first.Genre, "Genre");
    // An empty track number (byte 32) is written as 0; every other one stays.
    check(tag.TrackNum == (first.TrackNum.empty() ? "0" : first.TrackNum), "TrackNum");
    return 0;
}
