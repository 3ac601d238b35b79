#pragma once

#include <string>
#include <vector>

namespace tagvane {

// The sample MP3 files that the build puts into build/samples/, so that a new
// user has something to open on every page of the editor.

// Two seconds of silent MPEG-1 Layer III audio: 128 kbit/s, 44.1 kHz, joint
// stereo. Frames are 417 bytes, 418 with the padding bit set.
inline constexpr int SampleAudioFrames = 77;
std::string silentMpegAudio(int frameCount);

// Small pictures with something to see: a sunset in a JPEG, shapes on a
// transparent ground in a PNG.
std::string sunsetJpeg();
std::string shapesPng();

// Windows-1252 bytes of a UTF-8 literal; only Latin-1 characters are expected.
std::string latin1(const std::string &utf8);

// The name of every file makeSamples writes, in the order it writes them.
std::vector<std::string> sampleFileNames();

// Writes the sample files into `folder` (made when missing), replacing files
// of the same names. Throws InOutError.
void makeSamples(const std::string &folder);

} // namespace tagvane
