#pragma once

#include <cstdint>
#include <string>

#include "id3v2/framestore.h"

namespace tagvane {

// The size field limit of a tag header: tags of this size or more are refused.
inline constexpr uint64_t MaxTagSize = uint64_t{1} << 28;
// In-place tag areas below this size are written with one write.
inline constexpr uint64_t SingleWriteLimit = 16u * 1024 * 1024;

// Writes `store` as a version 2.4 tag into `fileName`, in place when the old
// tag (of `oldTagSize`, when `tagPresent`) has room, else through a new file.
void writeTag24(const FrameStore& store, bool tagPresent, uint32_t oldTagSize, const std::string& fileName);

// Replaces the tag with a header and `oldTagSize` zero bytes; without a tag
// the file is left alone.
void killTag24(bool tagPresent, uint32_t oldTagSize, const std::string& fileName);

// The bytes of all frames `store` gives, frame headers included.
uint64_t ComputeNeededSize(const FrameStore& store);

} // namespace tagvane
