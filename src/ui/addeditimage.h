#pragma once

#include "ui/pictureview.h"
#include "ui/uiplatform.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tagvane {

// The picture dialog: adds a picture entry or replaces one. Made once; its
// MIME type and format label persist from one use to the next, everything
// else is set up on every showing.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    // One picture entry as the tag model holds it. `description`, `pictureType`
    // and `mime` are Windows-1252 bytes, `pictureFile` a native UTF-8 path.
    // From execute, `description` and `mime` end in one NUL.
    struct Picture {
        std::string description;
        std::string pictureType;
        std::string mime;
        std::string pictureFile;
    };

    explicit TForm3(UiPlatform &platform, QWidget *parent = nullptr);

    // Shows the dialog modally, set up for adding or for replacing `entry`, and
    // returns what "Add" stores, or nothing when cancelled or closed. In edit
    // mode a picture file that cannot be shown is reported before the dialog
    // opens, and the dialog then opens without a preview.
    std::optional<Picture> executeAdd();
    std::optional<Picture> executeEdit(const Picture &entry);

    // The pieces of execute, for callers that show the dialog themselves.
    void setupAdd();
    void setupEdit(const Picture &entry);
    Picture collect() const;

    // "Load file...": picks a picture file and previews it.
    void loadFile();

    // The folder the picture-open dialog starts in (the OpenPictureDir setting)
    // and the picture file last picked (its folder is saved at exit); native paths.
    void setPictureFolder(const QString &folder) { pictureFolder_ = folder; }
    const QString &lastOpenedPicture() const { return lastOpenedPicture_; }

    // The MIME type "Add" stores, without its NUL.
    const QString &mimeType() const { return mime_; }
    ImageView::SizeRule sizeRule() const;

    ImageView *imageView() const { return imageView_; }
    QLineEdit *descriptionEdit() const { return descriptionEdit_; }
    QComboBox *typeCombo() const { return typeCombo_; }
    QLabel *formatLabel() const { return formatLabel_; }
    QLineEdit *pathEdit() const { return pathEdit_; }
    QPushButton *loadButton() const { return loadButton_; }
    QPushButton *zoomInButton() const { return zoomInButton_; }
    QPushButton *zoomOutButton() const { return zoomOutButton_; }
    QRadioButton *originalSizeButton() const { return originalSizeButton_; }
    QRadioButton *fitToWindowButton() const { return fitToWindowButton_; }
    QPushButton *addButton() const { return addButton_; }
    QPushButton *cancelButton() const { return cancelButton_; }

private:
    void applySizeRuleToShownPicture();

    UiPlatform &platform_;
    QString mime_;
    QString pictureFolder_;
    QString lastOpenedPicture_;

    ImageView *imageView_;
    QLineEdit *descriptionEdit_;
    QComboBox *typeCombo_;
    QLabel *formatLabel_;
    QLineEdit *pathEdit_;
    QPushButton *loadButton_;
    QPushButton *zoomInButton_;
    QPushButton *zoomOutButton_;
    QRadioButton *originalSizeButton_;
    QRadioButton *fitToWindowButton_;
    QPushButton *addButton_;
    QPushButton *cancelButton_;
};

} // namespace tagvane
