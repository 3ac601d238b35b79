#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "id3v2/framemap.h"
#include "id3v2/framestore.h"
#include "platform/File.h"

namespace tagvane {

// The parts of a version 2.3 date (TYER, TDAT, TIME), gathered during a walk.
struct DateParts {
    std::string year, dayMonth, time;
};

// What differs between the tag versions as far as the frame walk cares.
struct VersionDescription {
    const char* name;  // "2.4"
    size_t headerSize; // frame header bytes: 10, or 6 for version 2.2
    size_t idLength;   // 4, or 3
    uint64_t (*frameSize)(const uint8_t* sizeBytes);
    const char* FrameMapRow::*idColumn; // the frame map column of this version
    uint8_t skipMask;                   // tested flag bits that make a known frame skipped
    bool readsLists;                    // COMM, APIC, ... (not in version 2.2)
    bool keepsFrames;                   // frames the model does not take are kept
    uint8_t discardMask;                // first flag byte: discard the frame when the tag is altered
    // Brings a kept frame to version 2.4; false drops it.
    bool (*convertKept)(KeptFrame& frame, DateParts& date);
    // Adds what the conversion gathered over the walk.
    void (*finishKept)(const DateParts& date, std::vector<KeptFrame>& kept);
};

extern const VersionDescription Version24;
extern const VersionDescription Version23;
extern const VersionDescription Version22;

// Walks the frames after the 10-byte tag header of `file` and fills `store`.
// `tagSize` is the size field of the tag header; the walk never passes the tag
// area or the end of the file. Pictures go into files in `pictureFolder`.
void readFrames(File& file, uint32_t tagSize, const VersionDescription& version, const std::string& pictureFolder,
                FrameStore& store);

// The name of the n-th picture's file, built from its MIME text (which ends in NUL).
std::string pictureFileName(int position, const std::string& mime);

} // namespace tagvane
