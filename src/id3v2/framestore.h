#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "id3v2/Idtag24.h"
#include "id3v2/framemap.h"

namespace tagvane {

// The model's shape without the component around it: what the readers fill
// and what the writer emits.
class FrameStore {
public:
    std::array<std::string, FrameMapSize> Slots;
    CommentEntries CommentList;
    LyricsEntries LyricsList;
    UserTextEntries UserTextList;
    UserUrlEntries UserUrlList;
    TermsEntries TermsList;
    PictureEntries PictureList;

    void clear() { *this = FrameStore(); }
};

} // namespace tagvane
