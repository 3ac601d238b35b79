// The ID3v2.4 frame reader: syncsafe frame sizes; a known frame whose tested
// flag byte has 0x80 or 0x40 set is skipped. Frames the model does not take
// are kept as they are, except those marked to be discarded on a change (0x40).
#include "id3v2/reader.h"

namespace tagvane {

namespace {
uint64_t syncsafeSize(const uint8_t* b) { return DecodeSyncsafe(b[0], b[1], b[2], b[3]); }
} // namespace

const VersionDescription Version24 = {"2.4", 10,   4,    syncsafeSize, &FrameMapRow::v24, 0xC0, true,
                                      true,  0x40, nullptr, nullptr};

} // namespace tagvane
