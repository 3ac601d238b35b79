// The images page: the picture list, the image view, and adding, replacing,
// deleting, exporting and copying pictures. Every change goes straight into
// tag24 and the list is rebuilt from it.

#include "ui/tagprog1.h"

#include "id3v2/Idtag24.h"
#include "platform/File.h"
#include "platform/codepage.h"
#include "ui/addeditimage.h"
#include "ui/pictureview.h"

#include <QDir>
#include <QItemSelectionModel>
#include <QPersistentModelIndex>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <string_view>
#include <vector>

namespace tagvane {

namespace {

// Pictures are copied file to file in blocks of this size, never held whole.
constexpr size_t exportBlockSize = 524288;

std::string_view upToNulView(const std::string &bytes) {
    std::string_view text(bytes);
    return text.substr(0, text.find('\0'));
}

// A tag text up to its first zero byte, converted from Windows-1252.
QString upToNul(const std::string &bytes) {
    return QString::fromStdString(cp1252ToUtf8(upToNulView(bytes)));
}

QString nativePath(const std::string &path) {
    return QString::fromStdString(path);
}

ImageView::SizeRule sizeRule(const QRadioButton *originalSize) {
    return originalSize->isChecked() ? ImageView::SizeRule::NaturalSize : ImageView::SizeRule::FitToWindow;
}

} // namespace

void TForm1::setupPictures() {
    exportFolder = makerealpath(makerealpath(programFolder()) + QStringLiteral("Export Images"));

    // Queued, and only for rows that still exist when the event arrives: emptying
    // the list (a refill after a change, or the editing flow before a read)
    // deselects the row first, and that must not show a picture of a tag whose
    // rows are gone.
    connect(
        ListView5->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this](const QItemSelection &selected, const QItemSelection &deselected) {
            const QItemSelection &changed = selected.isEmpty() ? deselected : selected;
            if (changed.isEmpty())
                return;
            const QPersistentModelIndex row(changed.first().topLeft());
            QMetaObject::invokeMethod(
                this,
                [this, row] {
                    if (row.isValid())
                        runCommand([this, row] { showPictureAt(row.row() + 1); });
                },
                Qt::QueuedConnection);
        });

    command(pictureAddButton, [this] { addPicture(); });
    command(pictureEditButton, [this] { editPicture(); });
    command(pictureDeleteButton, [this] { deletePicture(); });
    command(exportButton, [this] { exportPicture(); });
    command(clipboardButton, [this] { pictureToClipboard(); });
    command(zoomInButton, [this] { imageBox->zoomIn(); });
    command(zoomOutButton, [this] { imageBox->zoomOut(); });
    command(originalSizeRadio, [this] { applyPictureSizeRule(); });
    command(fitToWindowRadio, [this] { applyPictureSizeRule(); });
}

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

void TForm1::showPictureAt(int position) {
    const PictureEntries &list = tag24->PictureList;
    if (position < 1 || position > list.Count)
        return;
    // showFile throws before sizing when the file cannot be decoded, which
    // leaves the previous picture and size as they were.
    imageBox->showFile(nativePath(list.PictureFile[position]), sizeRule(originalSizeRadio));
}

void TForm1::applyPictureSizeRule() {
    if (imageBox->picture().isNull())
        return;
    imageBox->applySizeRule(sizeRule(originalSizeRadio));
}

void TForm1::refillPictureList() {
    ListView5->clear();
    readpicture();
}

void TForm1::addPicture() {
    if (Form3 == nullptr)
        return;
    PictureEntries &list = tag24->PictureList;
    if (list.Count >= stringarray::Capacity) {
        showMessage(QStringLiteral("Warning!"),
                    QStringLiteral("This tag already holds %1 pictures; no more can be added.")
                        .arg(stringarray::Capacity),
                    UiPlatform::Icon::Warning);
        return;
    }
    const std::optional<TForm3::Picture> picture = Form3->executeAdd();
    if (!picture)
        return;
    tag24->SetPicture(picture->description, picture->pictureType, picture->mime, picture->pictureFile,
                      list.Count + 1);
    refillPictureList();
}

void TForm1::editPicture() {
    const int p = current.positionIn(ListView5);
    if (p == 0) {
        showMessage(QStringLiteral("Warning!"), QStringLiteral("You have not chosen any image to edit!"),
                    UiPlatform::Icon::Warning);
        return;
    }
    if (Form3 == nullptr)
        return;
    const PictureEntries &list = tag24->PictureList;
    const std::optional<TForm3::Picture> picture =
        Form3->executeEdit({list.Description[p], list.PictureType[p], list.Mime[p], list.PictureFile[p]});
    if (!picture)
        return;
    tag24->SetPicture(picture->description, picture->pictureType, picture->mime, picture->pictureFile, p);
    refillPictureList();
}

void TForm1::deletePicture() {
    if (!ListView5->selectionModel()->hasSelection())
        return;
    const int p = current.positionIn(ListView5);
    if (p == 0)
        return;
    tag24->DeletePicture(p);
    refillPictureList();
}

void TForm1::exportPicture() {
    const int p = current.positionIn(ListView5);
    if (!ListView5->selectionModel()->hasSelection() || p == 0) {
        showMessage(QStringLiteral("Error"), QStringLiteral("Please select image for export"),
                    UiPlatform::Icon::Warning);
        return;
    }
    const PictureEntries &list = tag24->PictureList;
    std::string_view mime = upToNulView(list.Mime[p]);
    if (const size_t slash = mime.find('/'); slash != std::string_view::npos)
        mime = mime.substr(slash + 1);
    const QString extension = QString::fromStdString(cp1252ToUtf8(mime));

    UiPlatform::FileRequest request;
    request.filter = QStringLiteral("Image file (*.%1)").arg(extension);
    request.defaultExtension = extension;
    request.fileName = upToNul(list.Description[p]);
    request.initialFolder = exportFolder;
    const std::optional<QString> target = platform().saveFile(request);
    if (!target)
        return;
    lastExportFile = *target;

    File source(list.PictureFile[p], File::Mode::Read);
    File copy(target->toStdString(), File::Mode::CreateTruncate);
    std::vector<char> block(exportBlockSize);
    for (;;) {
        const size_t n = source.readSome(block.data(), block.size());
        if (n == 0)
            break;
        copy.write(block.data(), n);
    }
    copy.close();
}

void TForm1::pictureToClipboard() {
    // Only a picture the user can see goes out; a hidden view still holds the
    // picture of a file read before, which would be a surprise on the clipboard.
    if (!imageBox->viewVisible() || imageBox->picture().isNull())
        return;
    platform().setClipboardImage(imageBox->picture());
}

} // namespace tagvane
