#include "dialog_fixture.h"

#include "ui/addeditimage.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tagvane;
using tagvane::testing::typeText;
using tagvane::testing::whenShown;
using namespace std::string_literals;

namespace {

class PictureDialog : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    TForm3 dialog{platform};
    QTemporaryDir dir;

    QString picture(const char *name, int width, int height, const char *format) const {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(image.save(path, format));
        return path;
    }

    void pickType(const char *name) {
        const int index = dialog.typeCombo()->findText(QString::fromLatin1(name));
        ASSERT_GE(index, 0) << name;
        dialog.typeCombo()->setCurrentIndex(index);
    }

    std::vector<ScriptedPlatform::Call> errors() const { return platform.callsOf(QStringLiteral("message")); }
};

} // namespace

TEST_F(PictureDialog, LayoutAtStart) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Add Image"));
    EXPECT_EQ(dialog.size(), QSize(544, 415));
    EXPECT_EQ(dialog.formatLabel()->text(), QStringLiteral("Unknown"));
    EXPECT_TRUE(dialog.fitToWindowButton()->isChecked());
    EXPECT_FALSE(dialog.originalSizeButton()->isChecked());
    EXPECT_EQ(dialog.originalSizeButton()->text(), QStringLiteral("Original size"));
    EXPECT_EQ(dialog.fitToWindowButton()->text(), QStringLiteral("Fit to window"));
    EXPECT_EQ(dialog.loadButton()->text(), QStringLiteral("Load file..."));
    EXPECT_EQ(dialog.zoomInButton()->text(), QStringLiteral("Zoom in"));
    EXPECT_EQ(dialog.zoomOutButton()->text(), QStringLiteral("Zoom out"));
    EXPECT_EQ(dialog.addButton()->text(), QStringLiteral("Add"));
    EXPECT_EQ(dialog.cancelButton()->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(dialog.imageView()->size(), QSize(297, 353));
    EXPECT_EQ(dialog.imageView()->viewSize(), QSize(281, 337));
    // The box stands at the right of the field column.
    EXPECT_GT(dialog.imageView()->x(), dialog.descriptionEdit()->geometry().right());

    QComboBox *types = dialog.typeCombo();
    EXPECT_FALSE(types->isEditable());
    ASSERT_EQ(types->count(), 21);
    EXPECT_EQ(types->itemText(0), QStringLiteral("Other"));
    EXPECT_EQ(types->itemText(3), QStringLiteral("Cover (front)"));
    EXPECT_EQ(types->itemText(20), QStringLiteral("Publisher/Studio logotype"));
    EXPECT_EQ(types->currentIndex(), -1);
}

TEST_F(PictureDialog, AddWithALoadedPicture) {
    dialog.setPictureFolder(dir.path());
    const QString file = picture("COVER.JPG", 640, 480, "JPG");
    platform.fileAnswers = {file};
    std::optional<TForm3::Picture> stored;
    whenShown(dialog, [&] {
        EXPECT_FALSE(dialog.imageView()->viewVisible());
        typeText(dialog.descriptionEdit(), QStringLiteral("Front \u00e9"));
        pickType("Cover (front)");
        QTest::mouseClick(dialog.loadButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.pathEdit()->text(), file);
        EXPECT_EQ(dialog.formatLabel()->text(), QStringLiteral("image/JPG"));
        EXPECT_TRUE(dialog.imageView()->viewVisible());
        EXPECT_EQ(dialog.imageView()->picture().size(), QSize(640, 480));
        EXPECT_EQ(dialog.imageView()->viewSize(), QSize(280, 210)); // fit to window, truncated
        EXPECT_TRUE(dialog.imageView()->stretch());
        QTest::mouseClick(dialog.addButton(), Qt::LeftButton);
    });
    stored = dialog.executeAdd();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->description, "Front \xE9\0"s);
    EXPECT_EQ(stored->pictureType, "Cover (front)");
    EXPECT_EQ(stored->mime, "image/JPG\0"s);
    EXPECT_EQ(stored->pictureFile, file.toStdString());
    EXPECT_EQ(dialog.lastOpenedPicture(), file);

    const auto requests = platform.callsOf(QStringLiteral("openPicture"));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].file.initialFolder, dir.path());
    EXPECT_TRUE(requests[0].file.filter.contains(QStringLiteral("*.jpeg")));
    EXPECT_TRUE(requests[0].file.filter.contains(QStringLiteral("*.bmp")));
}

TEST_F(PictureDialog, MimeTypePersistsAndAddWithoutLoadingStoresAnEmptyPath) {
    platform.fileAnswers = {picture("a.jpeg", 10, 10, "JPG")};
    dialog.setupAdd();
    dialog.loadFile();
    ASSERT_EQ(dialog.mimeType(), QStringLiteral("image/jpeg"));

    std::optional<TForm3::Picture> stored;
    whenShown(dialog, [&] {
        EXPECT_TRUE(dialog.pathEdit()->text().isEmpty());
        EXPECT_TRUE(dialog.descriptionEdit()->text().isEmpty());
        EXPECT_EQ(dialog.typeCombo()->currentIndex(), -1);
        EXPECT_FALSE(dialog.imageView()->viewVisible());
        EXPECT_EQ(dialog.formatLabel()->text(), QStringLiteral("image/jpeg"));
        QTest::mouseClick(dialog.addButton(), Qt::LeftButton);
    });
    stored = dialog.executeAdd();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->description, "\0"s);
    EXPECT_EQ(stored->pictureType, "");
    EXPECT_EQ(stored->mime, "image/jpeg\0"s);
    EXPECT_EQ(stored->pictureFile, "");
}

TEST_F(PictureDialog, TypedPathIsStoredAsTypedAndKeepsTheMimeType) {
    platform.fileAnswers = {picture("b.png", 10, 10, "PNG")};
    dialog.setupAdd();
    dialog.loadFile();
    dialog.pathEdit()->clear();
    typeText(dialog.pathEdit(), QStringLiteral("/somewhere/else.gif"));
    const TForm3::Picture stored = dialog.collect();
    EXPECT_EQ(stored.pictureFile, "/somewhere/else.gif");
    EXPECT_EQ(stored.mime, "image/png\0"s);
}

TEST_F(PictureDialog, EditShowsTheEntryAtNaturalSize) {
    const QString file = picture("back.png", 400, 300, "PNG");
    std::optional<TForm3::Picture> stored;
    whenShown(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Add Image"));
        EXPECT_EQ(dialog.descriptionEdit()->text(), QStringLiteral("Back"));
        EXPECT_EQ(dialog.typeCombo()->currentText(), QStringLiteral("Cover (back)"));
        EXPECT_EQ(dialog.pathEdit()->text(), file);
        EXPECT_EQ(dialog.formatLabel()->text(), QStringLiteral("image/png"));
        EXPECT_TRUE(dialog.imageView()->viewVisible());
        // Natural size although "Fit to window" is chosen.
        EXPECT_TRUE(dialog.fitToWindowButton()->isChecked());
        EXPECT_EQ(dialog.imageView()->viewSize(), QSize(400, 300));
        QTest::mouseClick(dialog.zoomOutButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.imageView()->viewSize(), QSize(200, 150));
        QTest::mouseClick(dialog.zoomInButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.zoomInButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.imageView()->viewSize(), QSize(800, 600));
        typeText(dialog.descriptionEdit(), QStringLiteral(" 2"));
        QTest::mouseClick(dialog.addButton(), Qt::LeftButton);
    });
    stored = dialog.executeEdit({"Back\0"s, "Cover (back)", "image/png\0"s, file.toStdString()});
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->description, "Back 2\0"s);
    EXPECT_EQ(stored->pictureType, "Cover (back)");
    EXPECT_EQ(stored->mime, "image/png\0"s);
    EXPECT_EQ(stored->pictureFile, file.toStdString());
    EXPECT_TRUE(errors().empty());
}

TEST_F(PictureDialog, EditWithAPictureThatCannotBeShown) {
    struct Case {
        const char *what;
        QString file;
        const char *inMessage;
    };
    const Case cases[] = {
        {"missing file", dir.filePath(QStringLiteral("gone.jpg")), "Cannot open file"},
        {"unknown extension", picture("x.tif", 4, 4, "BMP"), "Unknown picture file extension (.tif)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        platform.calls.clear();
        whenShown(dialog, [&] {
            EXPECT_FALSE(dialog.imageView()->viewVisible()); // opens without a preview
            EXPECT_EQ(dialog.pathEdit()->text(), c.file);
            EXPECT_EQ(dialog.typeCombo()->currentIndex(), -1); // a type not in the list
            QTest::mouseClick(dialog.addButton(), Qt::LeftButton);
        });
        const auto stored = dialog.executeEdit({"D\0"s, "No such type", "image/jpeg\0"s, c.file.toStdString()});
        const auto boxes = errors();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].message.title, QStringLiteral("Tagvane v. 1.2"));
        EXPECT_EQ(boxes[0].message.icon, UiPlatform::Icon::Error);
        EXPECT_TRUE(boxes[0].message.text.contains(QString::fromLatin1(c.inMessage)))
            << boxes[0].message.text.toStdString();
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->mime, "image/jpeg\0"s);
        EXPECT_EQ(stored->pictureType, "");
    }
}

TEST_F(PictureDialog, LoadCancelledOrFailing) {
    const QString first = picture("first.bmp", 50, 40, "BMP");
    const QString unknown = dir.filePath(QStringLiteral("second.tiff"));
    QFile(unknown).open(QIODevice::WriteOnly);
    platform.fileAnswers = {first, std::nullopt, unknown};
    dialog.setupAdd();
    dialog.loadFile();
    ASSERT_EQ(dialog.imageView()->picture().size(), QSize(50, 40));
    EXPECT_FALSE(dialog.imageView()->stretch()); // small: fit leaves it unscaled

    dialog.loadFile(); // cancelled: nothing changes
    EXPECT_EQ(dialog.pathEdit()->text(), first);
    EXPECT_EQ(dialog.mimeType(), QStringLiteral("image/bmp"));

    // The dialog's later requests start at the last pick.
    const auto requests = platform.callsOf(QStringLiteral("openPicture"));
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].file.fileName, QStringLiteral("first.bmp"));
    EXPECT_EQ(requests[1].file.initialFolder, dir.path());

    dialog.loadFile(); // picked, but not decodable: the fields change, the picture stays
    EXPECT_EQ(dialog.pathEdit()->text(), unknown);
    EXPECT_EQ(dialog.formatLabel()->text(), QStringLiteral("image/tiff"));
    EXPECT_EQ(dialog.imageView()->picture().size(), QSize(50, 40));
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_EQ(errors()[0].message.text, QStringLiteral("Unknown picture file extension (.tiff)"));
}

TEST_F(PictureDialog, SizeRuleButtons) {
    platform.fileAnswers = {picture("vga.jpg", 640, 480, "JPG")};
    dialog.setupAdd();
    QTest::mouseClick(dialog.originalSizeButton(), Qt::LeftButton);
    ASSERT_TRUE(dialog.originalSizeButton()->isChecked());
    dialog.loadFile();
    EXPECT_EQ(dialog.imageView()->viewSize(), QSize(640, 480));
    QTest::mouseClick(dialog.fitToWindowButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.imageView()->viewSize(), QSize(280, 210));
    QTest::mouseClick(dialog.originalSizeButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.imageView()->viewSize(), QSize(640, 480));

    // The choice persists to the next use.
    dialog.setupAdd();
    EXPECT_TRUE(dialog.originalSizeButton()->isChecked());
}

TEST_F(PictureDialog, CancelStoresNothing) {
    whenShown(dialog, [&] { QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton); });
    EXPECT_FALSE(dialog.executeAdd());
    whenShown(dialog, [&] { dialog.close(); });
    EXPECT_FALSE(dialog.executeAdd());
}
