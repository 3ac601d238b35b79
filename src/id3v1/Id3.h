#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tagvane {

// The 128-byte ID3v1.1 block at the end of an MP3 file, and the genre table.
// Texts are Windows-1252 bytes, copied without conversion. Set FileName, then
// ReadTag, or set the values and WriteTag.
class Id3v1 {
public:
    std::string Artist;
    std::string Album;
    std::string Title;
    std::string Year;
    std::string Comment;
    std::string Genre;
    std::string TrackNum;
    std::string FileName;
    bool ID3v1Present = false;

    static constexpr size_t BlockSize = 128;
    static constexpr size_t GenreCount = 126;
    static constexpr uint8_t NoGenre = 255;

    // Reads the block the file ends in; a file whose last 128 bytes do not
    // begin with 'T' has none and reads as empty values. Throws InOutError,
    // also for a file shorter than 128 bytes.
    void ReadTag();
    // Overwrites the file's block when its last 128 bytes begin with "TAG",
    // otherwise appends one, so audio data is never overwritten. Throws
    // InOutError, also for a file shorter than 128 bytes.
    void WriteTag();
    // Empties the seven values; FileName and ID3v1Present stay.
    void ClearTag();

    // Name of a genre code; empty for codes without a name.
    static std::string GenreName(uint8_t code);
    // Code of a genre name, compared exactly; 255 when no row matches.
    static uint8_t GenreIndex(const std::string &name);
    static std::string TrimSpaces(std::string text);
    static std::string TrimZeros(std::string text);

    // The genre names in code order, as the pick lists show them.
    static std::span<const std::string_view> GenreNames();
};

} // namespace tagvane
