// The file commands of the "Mp3 File" toolbar, the About page's buttons, the
// Turbo Renamer page and the settings file. The file commands work fills this
// file in.

#include "ui/tagprog1.h"

namespace tagvane {

void TForm1::setupFileCommands() {}

// Reads the settings when the window is first shown.
void TForm1::FormShow() {}

// Writes the settings and cleans the picture folder when the window goes.
void TForm1::FormDestroy() {}

} // namespace tagvane
