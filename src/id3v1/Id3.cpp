#include "id3v1/Id3.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "platform/File.h"

namespace tagvane {

namespace {

// Offsets and widths inside the block.
struct Field {
    size_t offset, width;
};
constexpr Field titleField{3, 30};
constexpr Field artistField{33, 30};
constexpr Field albumField{63, 30};
constexpr Field yearField{93, 4};
constexpr Field commentField{97, 29};
constexpr size_t trackOffset = 126;
constexpr size_t genreOffset = 127;

using Block = std::array<char, Id3v1::BlockSize>;

std::string readField(const Block &block, Field field) {
    std::string text(block.data() + field.offset, field.width);
    return Id3v1::TrimZeros(Id3v1::TrimSpaces(std::move(text)));
}

void putField(Block &block, Field field, const std::string &value) {
    std::memcpy(block.data() + field.offset, value.data(), std::min(value.size(), field.width));
}

// The lenient integer reading the track field has always had: leading blanks,
// a sign, decimal or ("$", "0x") hexadecimal digits up to the first other
// character. Unsigned arithmetic wraps, which keeps the low 8 bits right.
uint32_t leadingInteger(const std::string &text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        value = value * base + digit;
    }
    return negative ? 0u - value : value;
}

// Where the last 128 bytes begin; a shorter file fails as a seek before its
// start would.
uint64_t blockStart(const File &file) {
    const uint64_t size = file.size();
    if (size < Id3v1::BlockSize)
        throw InOutError::fromErrno("seek in", file.path(), EINVAL);
    return size - Id3v1::BlockSize;
}

} // namespace

void Id3v1::ClearTag() {
    Title.clear();
    Artist.clear();
    Album.clear();
    Year.clear();
    Comment.clear();
    Genre.clear();
    TrackNum.clear();
}

void Id3v1::ReadTag() {
    ClearTag();
    File file(FileName, File::Mode::Read);
    file.seek(blockStart(file));
    Block block;
    file.readExact(block.data(), block.size());
    file.close();

    // Only the first marker byte decides, as files tagged by older writers expect.
    ID3v1Present = block[0] == 'T';
    if (!ID3v1Present)
        return;
    Title = readField(block, titleField);
    Artist = readField(block, artistField);
    Album = readField(block, albumField);
    Year = readField(block, yearField);
    Comment = readField(block, commentField);
    const auto track = static_cast<unsigned char>(block[trackOffset]);
    if (track != ' ')
        TrackNum = std::to_string(track);
    Genre = GenreName(static_cast<uint8_t>(block[genreOffset]));
}

void Id3v1::WriteTag() {
    Block block{};
    block[0] = 'T';
    block[1] = 'A';
    block[2] = 'G';
    putField(block, titleField, Title);
    putField(block, artistField, Artist);
    putField(block, albumField, Album);
    putField(block, yearField, Year);
    putField(block, commentField, Comment);
    block[trackOffset] = static_cast<char>(leadingInteger(TrackNum) & 0xFF);
    block[genreOffset] = static_cast<char>(GenreIndex(Genre));

    File file(FileName, File::Mode::ReadWrite);
    const uint64_t start = blockStart(file);
    file.seek(start);
    char marker[3];
    file.readExact(marker, sizeof marker);
    // Only a full marker proves the last 128 bytes are a block and not audio.
    const bool hasBlock = std::memcmp(marker, "TAG", 3) == 0;
    file.seek(hasBlock ? start : start + BlockSize);
    file.write(block.data(), block.size());
    file.close();
}

std::string Id3v1::GenreName(uint8_t code) {
    const auto names = GenreNames();
    return code < names.size() ? std::string(names[code]) : std::string();
}

uint8_t Id3v1::GenreIndex(const std::string &name) {
    const auto names = GenreNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<uint8_t>(i);
    return NoGenre;
}

std::string Id3v1::TrimSpaces(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string Id3v1::TrimZeros(std::string text) {
    text.erase(text.find_last_not_of('\0') + 1);
    return text;
}

} // namespace tagvane
