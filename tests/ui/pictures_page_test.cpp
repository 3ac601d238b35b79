// The images page of the main window: the picture list, the image view, and
// adding, replacing, deleting, exporting and copying pictures, on MP3 files
// whose tags the engine wrote.

#include "mainwindow_fixture.h"

#include "id3v2/Idtag24.h"
#include "platform/File.h"
#include "ui/addeditimage.h"
#include "ui/pictureview.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <random>
#include <set>

using namespace tagvane;
using namespace std::string_literals;

namespace {

const std::string NUL(1, '\0');

struct Pic {
    std::string description; // without the NUL
    int type;                // picture type byte
    std::string mime;        // without the NUL
    QString file;
};

QByteArray readAll(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray randomBytes(int n, unsigned seed) {
    std::mt19937 gen(seed);
    QByteArray out(n, '\0');
    for (char &c : out)
        c = char(gen() & 0xFF);
    return out;
}

class PicturesPage : public tagvane::testing::MainWindowTest {
public:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(workDir.isValid());
        dialog = new TForm3(platform, form.get());
        form->Form3 = dialog;
        form->showPage(TForm1::EditorPage);
        form->showSubPage(TForm1::Images);
    }

    // A picture file drawn here, saved through Qt in the given format.
    QString image(const QString &name, int width, int height, const char *format, Qt::GlobalColor color) const {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(color);
        const QString path = workDir.filePath(name);
        EXPECT_TRUE(picture.save(path, format)) << name.toStdString();
        return path;
    }

    // An MP3 file of fake audio bytes whose ID3v2.4 tag holds the pictures.
    QString mp3With(const std::vector<Pic> &pictures, const QString &name = QStringLiteral("song.mp3")) const {
        const QString path = QDir(musicDir.path()).filePath(name);
        QByteArray audio(3000, '\0');
        for (int i = 0; i < audio.size(); i += 417) {
            audio[i] = char(0xFF);
            if (i + 1 < audio.size())
                audio[i + 1] = char(0xFB);
        }
        writeAll(path, audio);
        ID3v24 tag;
        tag.FileName = path.toStdString();
        tag.ReadTag(workDir.filePath(QStringLiteral("scratch/")).toStdString(), false);
        for (const Pic &p : pictures)
            tag.SetPicture(p.description + NUL, PictureTypeName(uint8_t(p.type)), p.mime + NUL, p.file.toStdString(),
                           tag.PictureList.Count + 1);
        tag.WriteTag();
        return path;
    }

    // What the window does on a read: the view hidden, the tag read into its
    // component with the picture folder, the list emptied and filled.
    void readIntoWindow(const QString &mp3) const {
        form->hidePicturePreview();
        form->tag24->FileName = mp3.toStdString();
        form->tag24->ReadTag(form->pictureFolder().toStdString(), false);
        form->ListView5->clear();
        form->readpicture();
    }

    QTreeWidget *list() const { return form->ListView5; }
    ImageView *view() const { return form->imageBox; }
    static void settle() { QCoreApplication::processEvents(); }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTreeWidgetItem *item = list()->topLevelItem(row);
        ASSERT_NE(item, nullptr) << row;
        const QRect r = list()->visualItemRect(item);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers, r.center());
        settle();
    }

    std::vector<QStringList> rows() const {
        std::vector<QStringList> out;
        for (int r = 0; r < list()->topLevelItemCount(); ++r) {
            QStringList texts;
            for (int c = 0; c < list()->columnCount(); ++c)
                texts << list()->topLevelItem(r)->text(c);
            out.push_back(texts);
        }
        return out;
    }

    std::vector<ScriptedPlatform::Call> messages() const { return platform.callsOf(QStringLiteral("message")); }

    // Runs `actions` on the picture dialog once its modal loop runs; fails the
    // test and closes it when they leave it open.
    void whenDialogShown(std::function<void()> actions) const {
        QTimer::singleShot(0, dialog, [this, actions = std::move(actions)] {
            actions();
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the picture dialog was left open";
                dialog->reject();
            }
        });
    }

    void pickType(const std::string &name) const {
        const int index = dialog->typeCombo()->findText(QString::fromStdString(name));
        ASSERT_GE(index, 0) << name;
        dialog->typeCombo()->setCurrentIndex(index);
    }

    QTemporaryDir workDir;
    TForm3 *dialog = nullptr;
};

} // namespace

TEST_F(PicturesPage, ListShowsEveryEntryUpToItsZeroByte) {
    const QString jpeg = image(QStringLiteral("front.jpg"), 40, 30, "JPG", Qt::red);
    const QString png = image(QStringLiteral("back.png"), 20, 20, "PNG", Qt::blue);
    readIntoWindow(mp3With({{"Front", 3, "image/jpeg", jpeg}, {"B\xE4" "ck", 4, "image/png", png}}));

    EXPECT_EQ(rows(), (std::vector<QStringList>{
                          {QStringLiteral("1"), QStringLiteral("Front"), QStringLiteral("image/jpeg"),
                           QStringLiteral("Cover (front)")},
                          {QStringLiteral("2"), QStringLiteral("B\u00e4ck"), QStringLiteral("image/png"),
                           QStringLiteral("Cover (back)")},
                      }));
    const QStringList headers = {QStringLiteral("No."), QStringLiteral("Description"), QStringLiteral("Format"),
                                 QStringLiteral("Type")};
    const int widths[] = {30, 200, 80, 150};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(list()->headerItem()->text(c), headers[c]);
        EXPECT_EQ(list()->columnWidth(c), widths[c]);
    }
    // The view is hidden until a row is chosen.
    EXPECT_FALSE(view()->viewVisible());
}

TEST_F(PicturesPage, ChoosingARowShowsItsPictureAndMakesItCurrent) {
    const QString wide = image(QStringLiteral("wide.jpg"), 1000, 600, "JPG", Qt::red);
    const QString tall = image(QStringLiteral("tall.bmp"), 768, 1024, "BMP", Qt::blue);
    const QString odd = workDir.filePath(QStringLiteral("odd.tif"));
    writeAll(odd, randomBytes(100, 1));
    readIntoWindow(mp3With({{"wide", 3, "image/jpeg", wide}, {"tall", 4, "image/bmp", tall}, {"odd", 0, "image/tiff", odd}}));

    clickRow(0);
    EXPECT_TRUE(view()->viewVisible());
    EXPECT_EQ(view()->picture().size(), QSize(1000, 600));
    EXPECT_EQ(view()->viewSize(), QSize(257, 154)); // 600 / (1000 / 257) = 154.2
    EXPECT_TRUE(view()->stretch());
    EXPECT_EQ(form->current.positionIn(list()), 1);

    clickRow(1);
    EXPECT_EQ(view()->picture().size(), QSize(768, 1024));
    EXPECT_EQ(view()->viewSize(), QSize(145, 193)); // 144.75 rounds to 145
    EXPECT_EQ(form->current.positionIn(list()), 2);
    EXPECT_TRUE(messages().empty());
    tagvane::testing::saveScreenshot(form.get(), QStringLiteral("page1-images-with-picture"));

    // A picture the view cannot decode: the error box, the previous picture stays.
    clickRow(2);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].message.text.contains(QStringLiteral(".tif"))) << messages()[0].message.text.toStdString();
    EXPECT_EQ(view()->picture().size(), QSize(768, 1024));
    EXPECT_EQ(view()->viewSize(), QSize(145, 193));
    EXPECT_EQ(form->current.positionIn(list()), 3);

    // A row that stops being selected shows its picture too.
    clickRow(0);
    form->hidePicturePreview();
    clickRow(0, Qt::ControlModifier);
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    EXPECT_TRUE(view()->viewVisible());
    EXPECT_EQ(view()->picture().size(), QSize(1000, 600));
    EXPECT_EQ(form->current.positionIn(list()), 1);
}

TEST_F(PicturesPage, SizeRulesOfTheView) {
    struct Case {
        const char *what;
        QSize picture;
        bool originalSize;
        QSize expected; // empty: the view keeps the size it had
        bool stretch;
    };
    const std::vector<Case> cases = {
        {"wide, fitted", {1000, 600}, false, {257, 154}, true},
        {"small, unscaled", {100, 80}, false, {}, false},
        {"tall, fitted", {768, 1024}, false, {145, 193}, true},
        {"exactly the limit", {257, 193}, false, {}, false},
        {"original size", {640, 480}, true, {640, 480}, true},
    };
    std::vector<Pic> pictures;
    for (size_t i = 0; i < cases.size(); ++i) {
        const QString name = QStringLiteral("p%1.jpg").arg(i);
        pictures.push_back({cases[i].what, 3, "image/jpeg",
                            image(name, cases[i].picture.width(), cases[i].picture.height(), "JPG", Qt::green)});
    }
    readIntoWindow(mp3With(pictures));
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case &c = cases[i];
        QTest::mouseClick(c.originalSize ? form->originalSizeRadio : form->fitToWindowRadio, Qt::LeftButton);
        const QSize before = view()->viewSize();
        clickRow(int(i));
        EXPECT_EQ(view()->picture().size(), c.picture) << c.what;
        EXPECT_EQ(view()->viewSize(), c.expected.isEmpty() ? before : c.expected) << c.what;
        EXPECT_EQ(view()->stretch(), c.stretch) << c.what;
    }
    // The natural size 640 x 480 is larger than the box: it scrolls.
    clickRow(4);
    settle();
    EXPECT_GT(view()->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(view()->verticalScrollBar()->maximum(), 0);
}

TEST_F(PicturesPage, RadioButtonsResizeTheShownPicture) {
    const QString wide = image(QStringLiteral("wide.jpg"), 1000, 600, "JPG", Qt::red);
    readIntoWindow(mp3With({{"wide", 3, "image/jpeg", wide}}));
    clickRow(0);
    ASSERT_EQ(view()->viewSize(), QSize(257, 154));
    QTest::mouseClick(form->originalSizeRadio, Qt::LeftButton);
    EXPECT_EQ(view()->viewSize(), QSize(1000, 600));
    EXPECT_TRUE(view()->stretch());
    QTest::mouseClick(form->fitToWindowRadio, Qt::LeftButton);
    EXPECT_EQ(view()->viewSize(), QSize(257, 154));
    EXPECT_TRUE(view()->stretch());
}

TEST_F(PicturesPage, ZoomDoublesAndHalvesTheView) {
    const QString wide = image(QStringLiteral("wide.jpg"), 1000, 600, "JPG", Qt::red);
    readIntoWindow(mp3With({{"wide", 3, "image/jpeg", wide}}));
    clickRow(0);
    QTest::mouseClick(form->zoomInButton, Qt::LeftButton);
    EXPECT_EQ(view()->viewSize(), QSize(514, 308));
    QTest::mouseClick(form->zoomOutButton, Qt::LeftButton);
    QTest::mouseClick(form->zoomOutButton, Qt::LeftButton);
    EXPECT_EQ(view()->viewSize(), QSize(128, 77)); // remainders dropped
    EXPECT_TRUE(view()->stretch());                // zoom leaves the switch alone

    view()->setViewSize(QSize(1, 1));
    QTest::mouseClick(form->zoomOutButton, Qt::LeftButton);
    EXPECT_EQ(view()->viewSize(), QSize(0, 0));
    QTest::mouseClick(form->zoomInButton, Qt::LeftButton);
    EXPECT_EQ(view()->viewSize(), QSize(0, 0));
}

TEST_F(PicturesPage, DeleteRenumbersAndLeavesTheView) {
    const QString a = image(QStringLiteral("a.jpg"), 1000, 600, "JPG", Qt::red);
    const QString b = image(QStringLiteral("b.png"), 30, 30, "PNG", Qt::blue);
    readIntoWindow(mp3With({{"first", 3, "image/jpeg", a}, {"second", 4, "image/png", b}}));
    const QString extracted1 = QString::fromStdString(form->tag24->PictureList.PictureFile[1]);

    // Nothing chosen: nothing happens.
    QTest::mouseClick(form->pictureDeleteButton, Qt::LeftButton);
    EXPECT_EQ(form->tag24->PictureList.Count, 2);

    clickRow(0);
    const QImage shown = view()->picture();
    QTest::mouseClick(form->pictureDeleteButton, Qt::LeftButton);
    settle();
    EXPECT_TRUE(messages().empty()); // no question asked
    ASSERT_EQ(form->tag24->PictureList.Count, 1);
    EXPECT_EQ(form->tag24->PictureList.Description[1], "second" + NUL);
    EXPECT_EQ(rows(), (std::vector<QStringList>{{QStringLiteral("1"), QStringLiteral("second"),
                                                 QStringLiteral("image/png"), QStringLiteral("Cover (back)")}}));
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    EXPECT_TRUE(view()->viewVisible());
    EXPECT_EQ(view()->picture(), shown);
    EXPECT_EQ(view()->viewSize(), QSize(257, 154));
    EXPECT_TRUE(QFile::exists(extracted1)); // the picture file stays on disk

    // The list was rebuilt with no row chosen: Delete does nothing more.
    QTest::mouseClick(form->pictureDeleteButton, Qt::LeftButton);
    EXPECT_EQ(form->tag24->PictureList.Count, 1);
}

TEST_F(PicturesPage, EmptyingTheListForAReadShowsNothing) {
    const QString a = image(QStringLiteral("a.jpg"), 50, 50, "JPG", Qt::red);
    const QString b = image(QStringLiteral("b.jpg"), 60, 60, "JPG", Qt::blue);
    const QString first = mp3With({{"a", 3, "image/jpeg", a}}, QStringLiteral("one.mp3"));
    const QString second = mp3With({{"b", 3, "image/jpeg", b}}, QStringLiteral("two.mp3"));
    readIntoWindow(first);
    clickRow(0);
    ASSERT_TRUE(view()->viewVisible());
    // The next read deselects the chosen row while emptying the list; the view
    // must stay hidden and must not pick up the new tag's picture.
    readIntoWindow(second);
    settle();
    EXPECT_FALSE(view()->viewVisible());
    EXPECT_EQ(view()->picture().size(), QSize(50, 50));
    EXPECT_EQ(form->current.positionIn(list()), 0);
}

TEST_F(PicturesPage, AddThroughTheDialog) {
    const QString a = image(QStringLiteral("a.jpg"), 50, 50, "JPG", Qt::red);
    readIntoWindow(mp3With({{"a", 3, "image/jpeg", a}}));
    const QString added = image(QStringLiteral("Artist.PNG"), 64, 48, "PNG", Qt::yellow);

    platform.fileAnswers.push_back(added);
    whenDialogShown([&] {
        dialog->descriptionEdit()->setText(QStringLiteral("Band"));
        pickType(PictureTypeName(8));
        QTest::mouseClick(dialog->loadButton(), Qt::LeftButton);
        QTest::mouseClick(dialog->addButton(), Qt::LeftButton);
    });
    QTest::mouseClick(form->pictureAddButton, Qt::LeftButton);

    const PictureEntries &p = form->tag24->PictureList;
    ASSERT_EQ(p.Count, 2);
    EXPECT_EQ(p.Description[2], "Band" + NUL);
    EXPECT_EQ(p.PictureType[2], PictureTypeName(8));
    EXPECT_EQ(p.Mime[2], "image/PNG" + NUL);
    EXPECT_EQ(p.PictureFile[2], added.toStdString()); // the user's file, not copied
    ASSERT_EQ(rows().size(), 2u);
    EXPECT_EQ(rows()[1], (QStringList{QStringLiteral("2"), QStringLiteral("Band"), QStringLiteral("image/PNG"),
                                      QString::fromStdString(PictureTypeName(8))}));

    // Adding without loading a file: an empty path, the MIME type of the last use.
    whenDialogShown([&] {
        dialog->descriptionEdit()->setText(QStringLiteral("nothing loaded"));
        QTest::mouseClick(dialog->addButton(), Qt::LeftButton);
    });
    QTest::mouseClick(form->pictureAddButton, Qt::LeftButton);
    ASSERT_EQ(p.Count, 3);
    EXPECT_EQ(p.Description[3], "nothing loaded" + NUL);
    EXPECT_EQ(p.PictureType[3], "");
    EXPECT_EQ(p.Mime[3], "image/PNG" + NUL);
    EXPECT_EQ(p.PictureFile[3], "");
    EXPECT_EQ(rows().size(), 3u);

    // Cancel stores nothing.
    whenDialogShown([&] { QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton); });
    QTest::mouseClick(form->pictureAddButton, Qt::LeftButton);
    EXPECT_EQ(p.Count, 3);
    EXPECT_TRUE(messages().empty());
}

TEST_F(PicturesPage, AHundredPicturesRefuseAnother) {
    const QString a = image(QStringLiteral("a.jpg"), 10, 10, "JPG", Qt::red);
    for (int n = 1; n <= 100; ++n)
        form->tag24->SetPicture("p" + std::to_string(n) + NUL, "Other", "image/jpeg" + NUL, a.toStdString(), n);
    form->ListView5->clear();
    form->readpicture();
    ASSERT_EQ(rows().size(), 100u);
    EXPECT_EQ(rows()[99][0], QStringLiteral("100"));

    bool dialogShown = false;
    QTimer::singleShot(0, dialog, [&] {
        if (dialog->isVisible()) {
            dialogShown = true;
            dialog->reject();
        }
    });
    QTest::mouseClick(form->pictureAddButton, Qt::LeftButton);
    EXPECT_FALSE(dialogShown);
    EXPECT_EQ(form->tag24->PictureList.Count, 100);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].message.title, QStringLiteral("Warning!"));
    EXPECT_EQ(messages()[0].message.icon, UiPlatform::Icon::Warning);
    settle();
}

TEST_F(PicturesPage, EditWithoutAChosenPictureWarns) {
    const QString a = image(QStringLiteral("a.jpg"), 10, 10, "JPG", Qt::red);
    readIntoWindow(mp3With({{"a", 3, "image/jpeg", a}}));
    QTest::mouseClick(form->pictureEditButton, Qt::LeftButton);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].message.title, QStringLiteral("Warning!"));
    EXPECT_EQ(messages()[0].message.text, QStringLiteral("You have not chosen any image to edit!"));
    EXPECT_EQ(messages()[0].message.icon, UiPlatform::Icon::Warning);
    EXPECT_EQ(messages()[0].message.buttons, int(UiPlatform::Button::Ok));
}

TEST_F(PicturesPage, ReplacedPictureIsWrittenAndReadBack) {
    const QString a = image(QStringLiteral("a.jpg"), 300, 200, "JPG", Qt::red);
    const QString b = image(QStringLiteral("b.png"), 30, 40, "PNG", Qt::blue);
    const QString mp3 = mp3With({{"front", 3, "image/jpeg", a}, {"back", 4, "image/png", b}});
    readIntoWindow(mp3);
    const QByteArray firstBytes = readAll(QString::fromStdString(form->tag24->PictureList.PictureFile[1]));
    ASSERT_EQ(firstBytes, readAll(a));

    const QString replacement = image(QStringLiteral("new back.jpeg"), 120, 90, "JPG", Qt::magenta);
    clickRow(1);
    platform.fileAnswers.push_back(replacement);
    QString shownDescription;
    whenDialogShown([&] {
        shownDescription = dialog->descriptionEdit()->text();
        dialog->descriptionEdit()->setText(QStringLiteral("new back"));
        QTest::mouseClick(dialog->loadButton(), Qt::LeftButton);
        tagvane::testing::saveScreenshot(dialog, QStringLiteral("dialog-picture-loaded"));
        QTest::mouseClick(dialog->addButton(), Qt::LeftButton);
    });
    QTest::mouseClick(form->pictureEditButton, Qt::LeftButton);
    EXPECT_EQ(shownDescription, QStringLiteral("back"));
    ASSERT_EQ(form->tag24->PictureList.Count, 2);
    EXPECT_EQ(rows()[1], (QStringList{QStringLiteral("2"), QStringLiteral("new back"), QStringLiteral("image/jpeg"),
                                      QStringLiteral("Cover (back)")}));

    form->tag24->WriteTag();

    ID3v24 back;
    back.FileName = mp3.toStdString();
    back.ReadTag(workDir.filePath(QStringLiteral("readback/")).toStdString(), false);
    ASSERT_EQ(back.PictureList.Count, 2);
    EXPECT_EQ(back.PictureList.Description[1], "front" + NUL);
    EXPECT_EQ(readAll(QString::fromStdString(back.PictureList.PictureFile[1])), firstBytes);
    EXPECT_EQ(back.PictureList.Description[2], "new back" + NUL);
    EXPECT_EQ(back.PictureList.Mime[2], "image/jpeg" + NUL);
    EXPECT_EQ(back.PictureList.PictureType[2], "Cover (back)");
    EXPECT_EQ(readAll(QString::fromStdString(back.PictureList.PictureFile[2])), readAll(replacement));
    EXPECT_NE(readAll(replacement), readAll(b));
}

TEST_F(PicturesPage, ExportCopiesThePictureFile) {
    const QString a = image(QStringLiteral("a.jpg"), 300, 200, "JPG", Qt::red);
    const QString png = image(QStringLiteral("b.png"), 30, 40, "PNG", Qt::blue);
    readIntoWindow(mp3With({{"Front", 3, "image/jpeg", a}, {"Plain", 0, "png", png}}));
    EXPECT_EQ(form->exportFolder, QDir(programDir.path()).filePath(QStringLiteral("Export Images/")));

    // Nothing chosen: the error box, no dialog.
    QTest::mouseClick(form->exportButton, Qt::LeftButton);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].message.title, QStringLiteral("Error"));
    EXPECT_EQ(messages()[0].message.text, QStringLiteral("Please select image for export"));
    EXPECT_EQ(messages()[0].message.icon, UiPlatform::Icon::Warning);
    EXPECT_TRUE(platform.callsOf(QStringLiteral("saveFile")).empty());

    const QString exportDir = workDir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(exportDir));
    form->exportFolder = exportDir;
    const QString target = QDir(exportDir).filePath(QStringLiteral("Front.jpeg"));
    writeAll(target, QByteArray(100000, 'x')); // longer than the picture: overwritten, not kept
    clickRow(0);
    platform.fileAnswers.push_back(target);
    QTest::mouseClick(form->exportButton, Qt::LeftButton);
    auto saves = platform.callsOf(QStringLiteral("saveFile"));
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].file.filter, QStringLiteral("Image file (*.jpeg)"));
    EXPECT_EQ(saves[0].file.defaultExtension, QStringLiteral("jpeg"));
    EXPECT_EQ(saves[0].file.fileName, QStringLiteral("Front"));
    EXPECT_EQ(saves[0].file.initialFolder, exportDir);
    EXPECT_EQ(readAll(target), readAll(a));
    EXPECT_EQ(form->lastExportFile, target);
    EXPECT_EQ(messages().size(), 1u);

    // A MIME type without "/" is the extension as a whole (its extracted file
    // has no extension the view knows, so choosing it reports that first).
    clickRow(1);
    const size_t before = messages().size();
    platform.fileAnswers.push_back(std::nullopt); // cancelled
    QTest::mouseClick(form->exportButton, Qt::LeftButton);
    saves = platform.callsOf(QStringLiteral("saveFile"));
    ASSERT_EQ(saves.size(), 2u);
    EXPECT_EQ(saves[1].file.filter, QStringLiteral("Image file (*.png)"));
    EXPECT_EQ(saves[1].file.defaultExtension, QStringLiteral("png"));
    EXPECT_EQ(form->lastExportFile, target); // cancelling changes nothing

    // A file that cannot be created: the error box, nothing else.
    platform.fileAnswers.push_back(workDir.filePath(QStringLiteral("missing/folder/x.png")));
    QTest::mouseClick(form->exportButton, Qt::LeftButton);
    ASSERT_EQ(messages().size(), before + 1);
    EXPECT_EQ(messages().back().message.icon, UiPlatform::Icon::Error);
    EXPECT_FALSE(QFile::exists(workDir.filePath(QStringLiteral("missing/folder/x.png"))));
}

TEST_F(PicturesPage, ExportOfALargePictureGoesInBlocks) {
    const QByteArray big = randomBytes(700000, 7);
    const QString source = workDir.filePath(QStringLiteral("big.jpg"));
    writeAll(source, big);
    readIntoWindow(mp3With({{"big", 3, "image/jpeg", source}}));
    clickRow(0); // not a real JPEG: the error box, but the row is chosen
    platform.calls.clear();
    const QString target = workDir.filePath(QStringLiteral("big.jpeg"));

    platform.fileAnswers.push_back(target);
    faults::resetCount();
    QTest::mouseClick(form->exportButton, Qt::LeftButton);
    const long operations = faults::operationsSoFar();
    ASSERT_EQ(readAll(target), big);
    EXPECT_TRUE(messages().empty());

    // A failure at each file operation of the export in turn: what is left
    // behind is always a whole number of 524,288-byte blocks (or the whole
    // file, failing at the very end), and the failure is reported.
    std::set<qint64> sizesLeft;
    for (long k = 1; k <= operations; ++k) {
        QFile::remove(target);
        platform.calls.clear();
        platform.fileAnswers.push_back(target);
        faults::failOperation(k);
        QTest::mouseClick(form->exportButton, Qt::LeftButton);
        faults::failOperation(0);
        EXPECT_EQ(messages().size(), 1u) << "operation " << k;
        sizesLeft.insert(QFile::exists(target) ? QFileInfo(target).size() : -1);
    }
    for (qint64 size : sizesLeft)
        EXPECT_TRUE(size == -1 || size == 0 || size == 524288 || size == 700000) << size;
    EXPECT_TRUE(sizesLeft.count(524288)) << "no failure fell between the two blocks";
}

TEST_F(PicturesPage, ClipboardGetsTheShownPicture) {
    const QString a = image(QStringLiteral("a.jpg"), 1000, 600, "JPG", Qt::red);
    readIntoWindow(mp3With({{"a", 3, "image/jpeg", a}}));

    // Nothing shown: the clipboard stays as it was.
    QTest::mouseClick(form->clipboardButton, Qt::LeftButton);
    EXPECT_FALSE(platform.clipboardSet);

    clickRow(0);
    QTest::mouseClick(form->clipboardButton, Qt::LeftButton);
    ASSERT_TRUE(platform.clipboardSet);
    EXPECT_EQ(platform.clipboard.size(), QSize(1000, 600)); // the picture, not the shrunken view
    EXPECT_EQ(platform.clipboard, view()->picture());

    // Hidden for the next read: the old picture does not go out.
    platform.clipboardSet = false;
    form->hidePicturePreview();
    QTest::mouseClick(form->clipboardButton, Qt::LeftButton);
    EXPECT_FALSE(platform.clipboardSet);
}
