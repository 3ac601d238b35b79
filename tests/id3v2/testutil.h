#pragma once

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tagtest {

namespace fs = std::filesystem;

struct TempFolder {
    fs::path path;
    TempFolder() {
        char pattern[] = "/tmp/tagvane-id3v2-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
    // The picture folder, as callers pass it: with its final separator.
    std::string pictures() const { return (path / "pictures").string() + "/"; }
};

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return "";
    std::string bytes(static_cast<size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// A few silent MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, 417 bytes each),
// so other readers see a real MP3 file.
inline std::string mpegFrames(int count) {
    std::string frame(417, '\0');
    frame[0] = '\xFF'; // sync
    frame[1] = '\xFB'; // MPEG-1, Layer III, no CRC
    frame[2] = '\x90'; // 128 kbit/s, 44.1 kHz, no padding
    std::string out;
    for (int i = 0; i < count; ++i)
        out += frame;
    return out;
}

inline std::string be32(uint32_t n) {
    return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
}
inline std::string be24(uint32_t n) {
    return {static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
}
inline std::string syncsafe(uint32_t n) {
    return {static_cast<char>((n >> 21) & 0x7F), static_cast<char>((n >> 14) & 0x7F),
            static_cast<char>((n >> 7) & 0x7F), static_cast<char>(n & 0x7F)};
}

// "ID3", major version, revision 0, flags, size (syncsafe in every version).
inline std::string tagHeader(int major, uint32_t size, uint8_t flags = 0) {
    return std::string("ID3") + static_cast<char>(major) + '\0' + static_cast<char>(flags) + syncsafe(size);
}

// Frame ID, size (syncsafe), two flag bytes, content.
inline std::string frame24(const std::string& id, const std::string& content, uint8_t f1 = 0, uint8_t f2 = 0) {
    return id + syncsafe(static_cast<uint32_t>(content.size())) + static_cast<char>(f1) + static_cast<char>(f2) +
           content;
}
// Frame ID, size (plain 32-bit), two flag bytes, content.
inline std::string frame23(const std::string& id, const std::string& content, uint8_t f1 = 0, uint8_t f2 = 0) {
    return id + be32(static_cast<uint32_t>(content.size())) + static_cast<char>(f1) + static_cast<char>(f2) + content;
}
// Frame ID (three characters), size (plain 24-bit), content.
inline std::string frame22(const std::string& id, const std::string& content) {
    return id + be24(static_cast<uint32_t>(content.size())) + content;
}

// A tag of the given version around `frames`, with `padding` zero bytes.
inline std::string tag(int major, const std::string& frames, size_t padding = 16) {
    return tagHeader(major, static_cast<uint32_t>(frames.size() + padding)) + frames + std::string(padding, '\0');
}

// Bytes that stand for the audio: recognisable, never zero runs.
inline std::string audio(size_t n) {
    std::string a(n, '\0');
    uint32_t x = 12345;
    for (auto& c : a) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>((x >> 16) | 1);
    }
    return a;
}

const std::string NUL(1, '\0');

// The expected file after writing `frames` over a file whose last read found
// a tag (`present`) of size `old`.
inline std::string expectedWrite(std::string file, bool present, uint32_t old, const std::string& frames) {
    const uint64_t needed = frames.size();
    if (present) {
        const size_t n = old + 10;
        if (file.size() < n)
            file.resize(n, '\0');
        std::fill(file.begin(), file.begin() + static_cast<long>(n), '\0');
        const uint32_t last = n <= 524288 ? n : n % 524288;
        file.replace(0, 10, "ID3\x04" + NUL + NUL + syncsafe(last));
    }
    uint32_t tagSize = old;
    if (!present || old < needed) {
        std::string zeros;
        do
            zeros += std::string(1024, '\0');
        while (zeros.size() + old <= needed + 10);
        file = zeros + file;
        tagSize = static_cast<uint32_t>(needed);
    }
    const std::string tagBytes = "ID3\x04" + NUL + NUL + syncsafe(tagSize) + frames;
    file.replace(0, tagBytes.size(), tagBytes);
    return file;
}


} // namespace tagtest
