// The images page: the picture list, the image view and the picture dialog's
// use. The pictures work fills this file in.

#include "ui/tagprog1.h"

#include "id3v2/Idtag24.h"
#include "platform/codepage.h"
#include "ui/pictureview.h"

#include <QTreeWidget>

#include <string_view>

namespace tagvane {

namespace {

// A tag text up to its first zero byte, converted from Windows-1252.
QString upToNul(const std::string &bytes) {
    std::string_view text(bytes);
    text = text.substr(0, text.find('\0'));
    return QString::fromStdString(cp1252ToUtf8(text));
}

} // namespace

void TForm1::setupPictures() {}

void TForm1::readpicture() {
    const PictureEntries &list = tag24->PictureList;
    for (int n = 1; n <= list.Count; ++n) {
        auto *row = new QTreeWidgetItem(ListView5);
        row->setText(0, QString::number(n));
        row->setText(1, upToNul(list.Description[n]));
        row->setText(2, upToNul(list.Mime[n]));
        row->setText(3, upToNul(list.PictureType[n]));
    }
}

void TForm1::hidePicturePreview() {
    imageBox->setViewVisible(false);
}

} // namespace tagvane
