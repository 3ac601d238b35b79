// The ID3v2.3 frame reader: plain 32-bit frame sizes; only flag bit 0x80 skips
// a known frame. Kept frames are brought to version 2.4 on the way.
#include "id3v2/reader.h"

namespace tagvane {

namespace {

uint64_t plainSize(const uint8_t* b) {
    return (uint64_t{b[0]} << 24) | (uint64_t{b[1]} << 16) | (uint64_t{b[2]} << 8) | uint64_t{b[3]};
}

// The digits of a date frame, whatever its text encoding.
std::string digits(const std::string& content) {
    std::string out;
    for (size_t i = 1; i < content.size(); ++i)
        if (content[i] >= '0' && content[i] <= '9')
            out += content[i];
    return out;
}

bool convert(KeptFrame& f, DateParts& date) {
    if ((f.flags2 & 0xE0) != 0)
        return false; // compressed, encrypted or grouped: not carried over
    if (f.id == "TSIZ" || f.id == "RVAD" || f.id == "EQUA")
        return false; // no version 2.4 form
    if (f.id == "TYER" || f.id == "TDAT" || f.id == "TIME") {
        (f.id == "TYER" ? date.year : f.id == "TDAT" ? date.dayMonth : date.time) = digits(f.content);
        return false; // become one TDRC frame at the end
    }
    // Status flags: file alter preservation 0x40 -> 0x20, read only 0x20 -> 0x10.
    f.flags1 = static_cast<uint8_t>(((f.flags1 & 0x40) ? 0x20 : 0) | ((f.flags1 & 0x20) ? 0x10 : 0));
    f.flags2 = 0;
    return true;
}

// TYER, TDAT (DDMM) and TIME (HHMM) as one time stamp yyyy-MM-ddTHH:mm.
void finish(const DateParts& date, std::vector<KeptFrame>& kept) {
    if (date.year.size() != 4)
        return;
    std::string stamp = date.year;
    if (date.dayMonth.size() == 4) {
        stamp += "-" + date.dayMonth.substr(2, 2) + "-" + date.dayMonth.substr(0, 2);
        if (date.time.size() == 4)
            stamp += "T" + date.time.substr(0, 2) + ":" + date.time.substr(2, 2);
    }
    kept.push_back(KeptFrame{"TDRC", 0, 0, std::string(1, '\0') + stamp});
}

} // namespace

const VersionDescription Version23 = {"2.3", 10,   4,       plainSize, &FrameMapRow::v23, 0x80, true,
                                      true,  0x80, convert, finish};

} // namespace tagvane
