// The desktop's own dialogs and services behind UiPlatform.

#include "ui/uiplatform.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace tagvane {

namespace {

QMessageBox::Icon toQt(UiPlatform::Icon icon) {
    switch (icon) {
    case UiPlatform::Icon::Information:
        return QMessageBox::Information;
    case UiPlatform::Icon::Warning:
        return QMessageBox::Warning;
    case UiPlatform::Icon::Error:
        return QMessageBox::Critical;
    case UiPlatform::Icon::Question:
        return QMessageBox::Question;
    case UiPlatform::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonPair {
    UiPlatform::Button ours;
    QMessageBox::StandardButton qt;
};
constexpr ButtonPair buttonPairs[] = {
    {UiPlatform::Button::Ok, QMessageBox::Ok},
    {UiPlatform::Button::Yes, QMessageBox::Yes},
    {UiPlatform::Button::No, QMessageBox::No},
    {UiPlatform::Button::Cancel, QMessageBox::Cancel},
};

QMessageBox::StandardButton toQt(UiPlatform::Button b) {
    for (const auto &p : buttonPairs)
        if (p.ours == b)
            return p.qt;
    return QMessageBox::NoButton;
}

// The folder to start in: the request's folder, with the proposed name inside it.
QString startPath(const UiPlatform::FileRequest &r) {
    if (r.fileName.isEmpty())
        return r.initialFolder;
    if (QFileInfo(r.fileName).isAbsolute() || r.initialFolder.isEmpty())
        return r.fileName;
    return QDir(r.initialFolder).filePath(r.fileName);
}

// Qt's dialog may hand back a name without the extension the filter asks for.
QString withExtension(const QString &path, const QString &extension) {
    if (extension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + extension;
}

QWidget *dialogParent() {
    return QApplication::activeWindow();
}

// A file dialog whose preview at its side shows the picked picture.
std::optional<QString> pictureDialog(const UiPlatform::FileRequest &r) {
    QFileDialog dialog(dialogParent(), r.title, QString(), r.filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true); // the preview needs Qt's own dialog
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!r.initialFolder.isEmpty())
        dialog.setDirectory(r.initialFolder);
    if (!r.fileName.isEmpty())
        dialog.selectFile(r.fileName);

    auto *preview = new QLabel(&dialog);
    preview->setFixedSize(160, 160);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString &path) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage image = reader.read();
        if (image.isNull()) {
            preview->clear();
            return;
        }
        preview->setPixmap(
            QPixmap::fromImage(image.scaled(preview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

class QtPlatform : public UiPlatform {
public:
    Button message(const MessageRequest &r) override {
        QMessageBox box(toQt(r.icon), r.title, r.text, QMessageBox::NoButton, dialogParent());
        for (const auto &p : buttonPairs)
            if (r.buttons & int(p.ours))
                box.addButton(p.qt);
        if (box.buttons().isEmpty())
            box.addButton(QMessageBox::Ok);
        if (QAbstractButton *d = box.button(toQt(r.defaultButton)))
            box.setDefaultButton(static_cast<QPushButton *>(d));
        const int answer = box.exec();
        for (const auto &p : buttonPairs)
            if (answer == p.qt)
                return p.ours;
        // Closed by the window frame or Esc: the box's escape answer.
        if (r.buttons & int(Button::Cancel))
            return Button::Cancel;
        if (r.buttons & int(Button::No))
            return Button::No;
        return Button::Ok;
    }

    std::optional<QString> openFile(const FileRequest &r) override {
        const QString path = QFileDialog::getOpenFileName(dialogParent(), r.title, startPath(r), r.filter);
        if (path.isEmpty())
            return std::nullopt;
        return QDir::toNativeSeparators(path);
    }

    std::optional<QString> saveFile(const FileRequest &r) override {
        QFileDialog dialog(dialogParent(), r.title, QString(), r.filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(r.defaultExtension);
        // An existing file is replaced without a question.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (!r.initialFolder.isEmpty())
            dialog.setDirectory(r.initialFolder);
        if (!r.fileName.isEmpty())
            dialog.selectFile(r.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return QDir::toNativeSeparators(withExtension(dialog.selectedFiles().first(), r.defaultExtension));
    }

    std::optional<QString> openPicture(const FileRequest &r) override { return pictureDialog(r); }

    bool shellOpen(const QString &target, const QString &workingFolder) override {
        Q_UNUSED(workingFolder); // the desktop opener has no working folder
        QUrl url = QUrl::fromUserInput(target, QDir::currentPath(), QUrl::AssumeLocalFile);
        return QDesktopServices::openUrl(url);
    }

    void setClipboardImage(const QImage &image) override { QGuiApplication::clipboard()->setImage(image); }

    void setBusy(bool busy) override {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }

    void processEvents() override { QCoreApplication::processEvents(); }

    void beep() override { QApplication::beep(); }
};

} // namespace

std::unique_ptr<UiPlatform> makeQtPlatform() {
    return std::make_unique<QtPlatform>();
}

} // namespace tagvane
