#include "ui/addeditimage.h"

#include "id3v2/Idtag24.h"
#include "platform/codepage.h"
#include "ui/addlang.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tagvane {

namespace {

QString fromTag(const std::string &bytes) {
    return QString::fromStdU16String(cp1252ToUtf16(bytes));
}
std::string toTag(const QString &text) {
    return utf16ToCp1252(text.toStdU16String());
}
std::string untilNul(const std::string &bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

// The picture types in type-byte order, "Other" to "Publisher/Studio logotype".
constexpr int pictureTypeCount = 21;

} // namespace

TForm3::TForm3(UiPlatform &platform, QWidget *parent) : QDialog(parent), platform_(platform) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Add Image"));
    setFixedSize(544, 415);
    setModal(true);

    const auto named = [](auto *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    const auto label = [this](const char *text, int top) {
        auto *l = new QLabel(QString::fromLatin1(text), this);
        l->setGeometry(8, top, 225, 16);
        return l;
    };

    imageView_ = named(new ImageView(pictureDialogView, this), "imageView");
    imageView_->move(239, 8);

    label("Description:", 8);
    descriptionEdit_ = named(new QLineEdit(this), "descriptionEdit");
    descriptionEdit_->setGeometry(8, 24, 225, 22);

    label("Type:", 54);
    typeCombo_ = named(new QComboBox(this), "typeCombo");
    typeCombo_->setGeometry(8, 70, 225, 22);
    typeCombo_->setEditable(false);
    for (int code = 0; code < pictureTypeCount; ++code)
        typeCombo_->addItem(fromTag(PictureTypeName(static_cast<uint8_t>(code))));
    typeCombo_->setCurrentIndex(-1);

    label("Image Format:", 100);
    formatLabel_ = named(new QLabel(QStringLiteral("Unknown"), this), "formatLabel");
    formatLabel_->setGeometry(8, 116, 225, 16);

    label("Image Path:", 140);
    pathEdit_ = named(new QLineEdit(this), "pathEdit");
    pathEdit_->setGeometry(8, 156, 225, 22);

    loadButton_ = named(new QPushButton(QStringLiteral("Load file..."), this), "loadButton");
    loadButton_->setGeometry(8, 186, 100, 25);

    zoomInButton_ = named(new QPushButton(QStringLiteral("Zoom in"), this), "zoomInButton");
    zoomInButton_->setGeometry(8, 222, 75, 25);
    zoomOutButton_ = named(new QPushButton(QStringLiteral("Zoom out"), this), "zoomOutButton");
    zoomOutButton_->setGeometry(90, 222, 75, 25);

    originalSizeButton_ = named(new QRadioButton(QStringLiteral("Original size"), this), "originalSizeButton");
    originalSizeButton_->setGeometry(8, 256, 150, 20);
    fitToWindowButton_ = named(new QRadioButton(QStringLiteral("Fit to window"), this), "fitToWindowButton");
    fitToWindowButton_->setGeometry(8, 278, 150, 20);
    auto *sizeGroup = new QButtonGroup(this);
    sizeGroup->addButton(originalSizeButton_);
    sizeGroup->addButton(fitToWindowButton_);
    fitToWindowButton_->setChecked(true);

    addButton_ = named(new QPushButton(QStringLiteral("Add"), this), "addButton");
    addButton_->setGeometry(8, 380, 75, 25);
    cancelButton_ = named(new QPushButton(QStringLiteral("Cancel"), this), "cancelButton");
    cancelButton_->setGeometry(90, 380, 75, 25);

    for (QPushButton *b : {loadButton_, zoomInButton_, zoomOutButton_, addButton_, cancelButton_})
        b->setAutoDefault(false);

    connect(loadButton_, &QPushButton::clicked, this, &TForm3::loadFile);
    connect(zoomInButton_, &QPushButton::clicked, imageView_, &ImageView::zoomIn);
    connect(zoomOutButton_, &QPushButton::clicked, imageView_, &ImageView::zoomOut);
    connect(originalSizeButton_, &QRadioButton::clicked, this, &TForm3::applySizeRuleToShownPicture);
    connect(fitToWindowButton_, &QRadioButton::clicked, this, &TForm3::applySizeRuleToShownPicture);
    connect(addButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

ImageView::SizeRule TForm3::sizeRule() const {
    return originalSizeButton_->isChecked() ? ImageView::SizeRule::NaturalSize : ImageView::SizeRule::FitToWindow;
}

void TForm3::applySizeRuleToShownPicture() {
    if (!imageView_->picture().isNull())
        imageView_->applySizeRule(sizeRule());
}

void TForm3::setupAdd() {
    descriptionEdit_->clear();
    pathEdit_->clear();
    typeCombo_->setCurrentIndex(-1);
    imageView_->setViewVisible(false);
}

void TForm3::setupEdit(const Picture &entry) {
    descriptionEdit_->setText(fromTag(untilNul(entry.description)));
    typeCombo_->setCurrentIndex(
        typeCombo_->findText(fromTag(entry.pictureType), Qt::MatchExactly | Qt::MatchCaseSensitive));
    const QString path = QString::fromUtf8(entry.pictureFile);
    pathEdit_->setText(path);
    formatLabel_->setText(fromTag(untilNul(entry.mime)));
    try {
        // Edit mode shows the picture at its natural size, whatever size rule is chosen.
        imageView_->showFile(path, ImageView::SizeRule::NaturalSize);
    } catch (const std::exception &e) {
        imageView_->setViewVisible(false);
        showErrorBox(platform_, QString::fromLocal8Bit(e.what()));
    }
    mime_ = formatLabel_->text();
}

TForm3::Picture TForm3::collect() const {
    Picture out;
    out.description = toTag(descriptionEdit_->text()) + '\0';
    out.pictureType = typeCombo_->currentIndex() < 0 ? std::string() : toTag(typeCombo_->currentText());
    out.mime = toTag(mime_) + '\0';
    out.pictureFile = pathEdit_->text().toUtf8().toStdString();
    return out;
}

std::optional<TForm3::Picture> TForm3::executeAdd() {
    setupAdd();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return collect();
}

std::optional<TForm3::Picture> TForm3::executeEdit(const Picture &entry) {
    setupEdit(entry);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return collect();
}

void TForm3::loadFile() {
    auto request = UiPlatform::FileRequest::reopening(QStringLiteral("Load file"), pictureFolder_, lastOpenedPicture_);
    request.filter = pictureOpenFilter();
    const std::optional<QString> picked = platform_.openPicture(request);
    if (!picked)
        return;
    pathEdit_->setText(*picked);
    lastOpenedPicture_ = *picked;
    mime_ = mimeTypeForPictureFile(*picked);
    formatLabel_->setText(mime_);
    try {
        imageView_->showFile(*picked, sizeRule());
    } catch (const std::exception &e) {
        showErrorBox(platform_, QString::fromLocal8Bit(e.what()));
    }
}

} // namespace tagvane
