#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "id3v2/Idtag24.h"
#include "id3v2/framemap.h"

namespace tagvane {

// A frame the model has no place for, carried through a rewrite unchanged.
struct KeptFrame {
    std::string id;      // four characters, as written in version 2.4
    uint8_t flags1 = 0;  // version 2.4 status flags
    uint8_t flags2 = 0;  // version 2.4 format flags
    std::string content; // the content bytes, as read
};

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
    std::vector<KeptFrame> Kept; // in file order

    void clear() { *this = FrameStore(); }
};

} // namespace tagvane
