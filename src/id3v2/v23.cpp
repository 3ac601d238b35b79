// The ID3v2.3 frame reader: plain 32-bit frame sizes; only flag bit 0x80 skips
// a known frame.
#include "id3v2/reader.h"

namespace tagvane {

namespace {
uint64_t plainSize(const uint8_t* b) {
    return (uint64_t{b[0]} << 24) | (uint64_t{b[1]} << 16) | (uint64_t{b[2]} << 8) | uint64_t{b[3]};
}
} // namespace

const VersionDescription Version23 = {"2.3", 10, 4, plainSize, &FrameMapRow::v23, 0x80, true};

} // namespace tagvane
