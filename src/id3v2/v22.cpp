// The ID3v2.2 frame reader: three-character IDs, 24-bit sizes, no flags, and
// only the single values of the frame map. Its other frames have no
// one-to-one version 2.4 form, so none are kept.
#include "id3v2/reader.h"

namespace tagvane {

namespace {
uint64_t size24(const uint8_t* b) { return (uint64_t{b[0]} << 16) | (uint64_t{b[1]} << 8) | uint64_t{b[2]}; }
} // namespace

const VersionDescription Version22 = {"2.2", 6, 3, size24, &FrameMapRow::v22, 0x00, false, false, 0x00, nullptr, nullptr};

} // namespace tagvane
