// The images page: the picture list, the image view and the picture dialog's
// use. The pictures work fills this file in.

#include "ui/tagprog1.h"

namespace tagvane {

void TForm1::setupPictures() {}

} // namespace tagvane
