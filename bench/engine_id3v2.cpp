// ID3v2 engine against TagLib on the same files in the same run. Each case
// exists as ".../ours" and ".../taglib"; the main in engine_id3v2_main.cpp
// prints the ratios.
#include "id3v2/Idtag24.h"

#include <benchmark/benchmark.h>

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using tagvane::ID3v24;

namespace {

const fs::path& folder() {
    static const fs::path path = [] {
        char pattern[] = "/tmp/tagvane-bench-id3v2-XXXXXX";
        fs::path p = mkdtemp(pattern);
        std::atexit([] { fs::remove_all(folder()); });
        return p;
    }();
    return path;
}

std::string file(const std::string& name) {
    return (folder() / name).string();
}
std::string pictures() {
    return file("pictures") + "/";
}

std::string mpegFrames(size_t bytes) {
    std::string frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    std::string out;
    while (out.size() < bytes)
        out += frame;
    return out;
}

std::string bytesOf(size_t n, unsigned seed) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 131 + seed) % 251);
    return s;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Writes a tag with our own writer: 40 text values, 3 comments, one picture.
void makeTagged(const std::string& path, size_t pictureBytes, size_t audioBytes) {
    writeBytes(path, mpegFrames(audioBytes));
    const std::string picture = file("source-" + std::to_string(pictureBytes) + ".jpg");
    {
        std::ofstream out(picture, std::ios::binary | std::ios::trunc);
        const std::string block = bytesOf(1 << 20, 3);
        for (size_t left = pictureBytes; left > 0;) {
            const size_t n = std::min(left, block.size());
            out.write(block.data(), static_cast<std::streamsize>(n));
            left -= n;
        }
    }
    ID3v24 t;
    t.FileName = path;
    t.ReadTag(pictures(), true);
    std::string* values[] = {&t.Album,
                             &t.Band,
                             &t.BeatsPerMinute,
                             &t.Composer,
                             &t.Conductor,
                             &t.ContentGroup,
                             &t.ContentType,
                             &t.Copyright,
                             &t.EncodedBy,
                             &t.InitialKey,
                             &t.Language,
                             &t.LeadPerformer,
                             &t.OrigAlbum,
                             &t.OrigArtist,
                             &t.OrigTextWriter,
                             &t.OrigTime,
                             &t.PartOfSet,
                             &t.Publisher,
                             &t.RecordTime,
                             &t.Remixer,
                             &t.SubTitle,
                             &t.TextWriter,
                             &t.Title,
                             &t.TrackNum,
                             &t.AlbumSort,
                             &t.Mood,
                             &t.PerformerSort,
                             &t.RelaseTime,
                             &t.SubTitleOfSet,
                             &t.TagTime,
                             &t.TitleSort,
                             &t.FileOwner,
                             &t.Produced,
                             &t.EncodingTime,
                             &t.InternetRadioName,
                             &t.InternetRadioOwner};
    int n = 0;
    for (std::string* v : values)
        *v = "Value number " + std::to_string(++n) + " of this typical tag";
    t.ArtistUrl = "http://artist.example/";
    t.AudioUrl = "http://audio.example/";
    t.PublisherUrl = "http://publisher.example/";
    t.CommercialUrl = "http://shop.example/";
    for (int i = 1; i <= 3; ++i)
        t.SetComment("comment " + std::to_string(i) + std::string(1, '\0'), "eng", std::string(200, 'c'), i);
    t.SetPicture(std::string(1, '\0'), "Cover (front)", "image/jpeg" + std::string(1, '\0'), picture, 1);
    t.WriteTag();
}

const std::string& typical() {
    static const std::string path = [] {
        std::string p = file("typical.mp3");
        makeTagged(p, 300 * 1024, 4 << 20);
        return p;
    }();
    return path;
}

const std::string& bigPicture() {
    static const std::string path = [] {
        std::string p = file("picture20.mp3");
        makeTagged(p, 20 << 20, 1 << 20);
        return p;
    }();
    return path;
}

void oursRead(benchmark::State& state, const std::string& path) {
    ID3v24 t;
    t.FileName = path;
    for (auto _ : state) {
        t.ReadTag(pictures(), false);
        benchmark::DoNotOptimize(t.Title.data());
    }
}

// The same work: the tag's values, and the picture into a file of its own.
void taglibRead(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        TagLib::MPEG::File f(path.c_str(), false);
        TagLib::ID3v2::Tag* tag = f.ID3v2Tag();
        benchmark::DoNotOptimize(tag->title());
        for (auto* frame : tag->frameList("APIC")) {
            auto* picture = static_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
            const TagLib::ByteVector data = picture->picture();
            const std::string name = file("pictures/taglib.jpg");
            std::remove(name.c_str()); // as ours does, a fresh file each time
            std::FILE* out = std::fopen(name.c_str(), "wb");
            std::fwrite(data.data(), 1, data.size(), out);
            std::fclose(out);
        }
    }
}

void BM_ReadTypical_ours(benchmark::State& s) {
    oursRead(s, typical());
}
void BM_ReadTypical_taglib(benchmark::State& s) {
    taglibRead(s, typical());
}
void BM_Read20MBPicture_ours(benchmark::State& s) {
    oursRead(s, bigPicture());
}
void BM_Read20MBPicture_taglib(benchmark::State& s) {
    taglibRead(s, bigPicture());
}

// Writing a changed title into a tag with room for it.
const std::string& inPlaceFile() {
    static const std::string path = [] {
        std::string p = file("inplace.mp3");
        makeTagged(p, 300 * 1024, 4 << 20);
        // Give the tag room: grow it once with a long value, then drop the value.
        ID3v24 t;
        t.FileName = p;
        t.ReadTag(pictures() + "setup/", false);
        t.Mood = std::string(64 * 1024, 'm');
        t.WriteTag();
        return p;
    }();
    return path;
}

void BM_WriteInPlace_ours(benchmark::State& state) {
    ID3v24 t;
    t.FileName = inPlaceFile();
    t.ReadTag(pictures() + "inplace/", false);
    t.Mood.clear();
    int n = 0;
    for (auto _ : state) {
        t.Title = "Title " + std::to_string(++n);
        t.WriteTag();
    }
}

void BM_WriteInPlace_taglib(benchmark::State& state) {
    const std::string path = file("inplace-taglib.mp3");
    fs::copy_file(inPlaceFile(), path, fs::copy_options::overwrite_existing);
    int n = 0;
    for (auto _ : state) {
        TagLib::MPEG::File f(path.c_str(), false);
        f.ID3v2Tag()->setTitle(("Title " + std::to_string(++n)).c_str());
        f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone);
    }
}

// A 10 MB file whose small tag has to grow.
const std::string& growSource() {
    static const std::string path = [] {
        std::string p = file("grow-source.mp3");
        writeBytes(p, std::string("ID3\x04\0\0\0\0\0\x40", 10) + std::string(64, '\0') + mpegFrames(10 << 20));
        return p;
    }();
    return path;
}

const std::string LongText(20000, 'g');

void BM_WriteGrow10MB_ours(benchmark::State& state) {
    const std::string path = file("grow.mp3");
    ID3v24 t;
    t.FileName = path;
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(growSource(), path, fs::copy_options::overwrite_existing);
        state.ResumeTiming();
        t.ReadTag(pictures(), false);
        t.Title = LongText;
        t.WriteTag();
    }
}

void BM_WriteGrow10MB_taglib(benchmark::State& state) {
    const std::string path = file("grow-taglib.mp3");
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(growSource(), path, fs::copy_options::overwrite_existing);
        state.ResumeTiming();
        TagLib::MPEG::File f(path.c_str(), false);
        f.ID3v2Tag(true)->setTitle(LongText.c_str());
        f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone);
    }
}

long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + std::string(key).size());
    return -1;
}

// Peak memory while reading a 50 MB picture, above the memory in use before.
void BM_PeakMemory50MBPicture_ours(benchmark::State& state) {
    const std::string path = file("picture50.mp3");
    makeTagged(path, 50 << 20, 1 << 20);
    ID3v24 t;
    t.FileName = path;
    long above = 0;
    for (auto _ : state) {
        const long before = statusKb("VmRSS:");
        std::ofstream("/proc/self/clear_refs") << "5"; // resets the peak to the current size
        t.ReadTag(pictures(), false);
        above = statusKb("VmHWM:") - before;
    }
    state.counters["peak_MB_above_start"] = static_cast<double>(above) / 1024.0;
    fs::remove(path);
}

// The same measurement for TagLib, which holds the picture in memory: shows
// that the measurement sees such a peak.
void BM_PeakMemory50MBPicture_taglib(benchmark::State& state) {
    const std::string path = file("picture50.mp3");
    makeTagged(path, 50 << 20, 1 << 20);
    long above = 0;
    for (auto _ : state) {
        const long before = statusKb("VmRSS:");
        std::ofstream("/proc/self/clear_refs") << "5";
        TagLib::MPEG::File f(path.c_str(), false);
        benchmark::DoNotOptimize(f.ID3v2Tag()->title());
        above = statusKb("VmHWM:") - before;
    }
    state.counters["peak_MB_above_start"] = static_cast<double>(above) / 1024.0;
    fs::remove(path);
}

BENCHMARK(BM_ReadTypical_ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadTypical_taglib)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read20MBPicture_ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read20MBPicture_taglib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteInPlace_ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteInPlace_taglib)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteGrow10MB_ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteGrow10MB_taglib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemory50MBPicture_ours)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemory50MBPicture_taglib)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
