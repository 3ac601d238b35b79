#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "id3v1/Id3.h"
#include "id3v2/Idtag24.h"
#include "id3v2/framemap.h"

namespace tagvane {

// One piece of a new file name: the prefix, the value named by FrameName, the
// suffix. All three are Windows-1252 bytes, like the tag values.
struct RenameTemplate {
    std::string Prefix, FrameName, Suffix;
};

// A frame name and the value it stands for: a row of the ID3v2 frame map or a
// property of the ID3v1 block; exactly one of the two is set.
struct RenameFrame {
    std::string_view name;
    const FrameMapRow *v2;
    std::string Id3v1::*v1;
};

// The 50 frame names in pick-list order (byte order of the names).
std::span<const RenameFrame> RenameFrames();
std::vector<std::string> RenameFrameNames();

// The value the frame name stands for, as the tag holds it; empty for a name
// that is not in the table (compared exactly, case counting).
std::string GetFrameValue(const std::string &frameName, const ID3v24 &v2, const Id3v1 &v1);

// The new file name, in UTF-8, ready to be joined to the file's folder:
// prefix, value and suffix of every template in order, then ".mp3". "?", "*",
// "\" and "/" become "_" so the name stays in its folder, and NUL bytes,
// which cannot stand in a file name, are dropped.
std::string BuildRenameName(const std::vector<RenameTemplate> &templates, const ID3v24 &v2, const Id3v1 &v1);

// A name longer than 255 bytes (the file system's limit) becomes its first
// 250 bytes or fewer, cut at a character boundary, followed by ".mp3".
std::string RenameLengthRule(const std::string &name);

inline constexpr size_t MaxFileNameBytes = 255;

} // namespace tagvane
