// The editing flow: opening a file in the editor, the field mapping, the date
// fields and the five entry lists. The editing work fills this file in.

#include "ui/tagprog1.h"

namespace tagvane {

void TForm1::setupEditing() {}

// Opening the current item's file in the editor; reading the tags comes with the editing flow.
void TForm1::Readtags() {}

} // namespace tagvane
