#include "platform/InOutError.h"
#include "ui/pictureview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <optional>

using namespace tagvane;

namespace {

// A picture whose left half is red and right half blue, so decoding can be
// checked beyond its size.
QImage twoColourPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 2; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    return image;
}

// A Windows metafile built record by record: a placeable header giving the
// picture's size, the standard header, then the drawing records and EOF.
class MetafileBuilder {
public:
    MetafileBuilder(quint16 right, quint16 bottom, quint16 unitsPerInch) {
        // Placeable header: key (low word first), handle, left, top, right,
        // bottom, units per inch, reserved, then the XOR of those ten words.
        words({0xCDD7, 0x9AC6, 0, 0, 0, right, bottom, unitsPerInch, 0, 0});
        quint16 checksum = 0;
        for (int i = 0; i < 20; i += 2)
            checksum ^= quint16(quint8(bytes_[i]) | quint8(bytes_[i + 1]) << 8);
        words({checksum});
        // Standard header: disk file, 9 words long, version 3; the file size,
        // object count and largest record are set by finish().
        header_ = bytes_.size();
        words({1, 9, 0x0300, 0, 0, 0, 0, 0, 0});
        record(0x020B, {0, 0});          // SetWindowOrg (y, x)
        record(0x020C, {bottom, right}); // SetWindowExt (y, x)
        record(0x02FA, {5, 0, 0, 0, 0}); // CreatePenIndirect: no outline
        record(0x012D, {objects_++});    // SelectObject
    }

    // A rectangle filled with a solid brush of the colour.
    MetafileBuilder &rectangle(QRect r, QRgb colour) {
        record(0x02FC, {0, quint16(qRed(colour) | qGreen(colour) << 8), quint16(qBlue(colour)), 0});
        record(0x012D, {objects_++});
        record(0x041B, {quint16(r.bottom() + 1), quint16(r.right() + 1), quint16(r.top()), quint16(r.left())});
        return *this;
    }

    QByteArray finish() {
        record(0x0000, {}); // EOF
        put32(header_ + 6, quint32((bytes_.size() - header_) / 2));
        put16(header_ + 10, objects_);
        put32(header_ + 12, largest_);
        return bytes_;
    }

private:
    QByteArray bytes_;
    qsizetype header_ = 0;
    quint16 objects_ = 0;
    quint32 largest_ = 0;

    void words(std::initializer_list<quint16> values) {
        for (quint16 v : values) {
            bytes_.append(char(v & 0xFF));
            bytes_.append(char(v >> 8));
        }
    }
    void put16(qsizetype at, quint16 v) {
        bytes_[at] = char(v & 0xFF);
        bytes_[at + 1] = char(v >> 8);
    }
    void put32(qsizetype at, quint32 v) {
        put16(at, quint16(v & 0xFFFF));
        put16(at + 2, quint16(v >> 16));
    }
    void record(quint16 function, std::initializer_list<quint16> params) {
        const quint32 size = 3 + quint32(params.size());
        largest_ = std::max(largest_, size);
        words({quint16(size & 0xFFFF), quint16(size >> 16), function});
        words(params);
    }
};

bool near(QRgb a, QRgb b, int tolerance = 40) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class PictureFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }

    QString write(const QString &name, const QImage &image, const char *format) const {
        const QString p = path(name);
        EXPECT_TRUE(image.save(p, format)) << name.toStdString();
        return p;
    }

    QString writeBytes(const QString &name, const QByteArray &bytes) const {
        const QString p = path(name);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return p;
    }

    static std::string errorOf(const QString &file) {
        try {
            loadPicture(file);
        } catch (const std::exception &e) {
            return e.what();
        }
        return "(loaded)";
    }
};

} // namespace

TEST(FitToWindow, SizesFromTheTwoViews) {
    struct Case {
        const ImageViewGeometry *box;
        QSize picture;
        std::optional<QSize> expected;
    };
    const ImageViewGeometry &page = imagesPageView;
    const ImageViewGeometry &dialog = pictureDialogView;
    const Case cases[] = {
        {&page, {1000, 600}, QSize(257, 154)}, // 600 / (1000 / 257) = 154.2
        {&page, {768, 1024}, QSize(145, 193)}, // 144.75 rounds up
        {&page, {100, 80}, std::nullopt},      // small enough: unscaled
        {&page, {257, 193}, std::nullopt},     // at the limits, not above them
        {&page, {258, 100}, QSize(257, 100)},  // 99.6 rounds to 100
        {&page, {514, 5}, QSize(257, 2)},      // 2.5: half to even goes down
        {&page, {514, 7}, QSize(257, 4)},      // 3.5: half to even goes up
        {&page, {100, 386}, QSize(50, 193)},   // taller than wide: the height decides
        {&page, {300, 300}, QSize(257, 257)},  // square counts as wide, so the height may exceed 193
        {&dialog, {640, 480}, QSize(280, 210)}, {&dialog, {100, 80}, std::nullopt},
        {&dialog, {281, 337}, std::nullopt},    {&dialog, {560, 7}, QSize(280, 3)}, // 3.5 truncated
        {&dialog, {5, 672}, QSize(2, 336)},                                         // 2.5 truncated
        {&dialog, {282, 10}, QSize(280, 9)},                                        // 9.93 truncated
    };
    for (const auto &c : cases) {
        const auto got = fitToWindowSize(*c.box, c.picture);
        SCOPED_TRACE(testing::Message() << (c.box == &page ? "page " : "dialog ") << c.picture.width() << "x"
                                        << c.picture.height());
        ASSERT_EQ(got.has_value(), c.expected.has_value());
        if (got) {
            EXPECT_EQ(got->width(), c.expected->width());
            EXPECT_EQ(got->height(), c.expected->height());
        }
    }
}

TEST(Zoom, DoublesAndHalvesDroppingTheRemainder) {
    EXPECT_EQ(zoomedIn(QSize(257, 193)), QSize(514, 386));
    EXPECT_EQ(zoomedOut(QSize(257, 193)), QSize(128, 96));
    EXPECT_EQ(zoomedOut(QSize(1, 1)), QSize(0, 0));
    EXPECT_EQ(zoomedIn(QSize(0, 0)), QSize(0, 0));
}

TEST(ImageViewGeometry, BoxesAndStartSizes) {
    ImageView page(imagesPageView);
    EXPECT_EQ(page.size(), QSize(273, 209));
    EXPECT_EQ(page.viewSize(), QSize(257, 193));
    EXPECT_FALSE(page.viewVisible());

    ImageView dialog(pictureDialogView);
    EXPECT_EQ(dialog.size(), QSize(297, 353));
    EXPECT_EQ(dialog.viewSize(), QSize(281, 337));
    EXPECT_TRUE(dialog.viewVisible());
}

TEST_F(PictureFiles, DecodesEachKnownExtensionWhateverItsCase) {
    const QImage source = twoColourPicture(64, 48);
    struct Case {
        const char *name;
        const char *format;
    };
    const Case cases[] = {
        {"a.jpg", "JPG"}, {"b.JPG", "JPG"}, {"c.jpeg", "JPG"}, {"d.JpEg", "JPG"}, {"e.bmp", "BMP"},
        {"f.BMP", "BMP"}, {"g.png", "PNG"}, {"h.PNG", "PNG"},  {"i.ico", "ICO"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = write(QString::fromLatin1(c.name), source, c.format);
        const QImage image = loadPicture(file);
        ASSERT_EQ(image.size(), QSize(64, 48));
        EXPECT_TRUE(near(image.pixel(5, 24), qRgb(255, 0, 0)));
        EXPECT_TRUE(near(image.pixel(58, 24), qRgb(0, 0, 255)));
    }
}

TEST_F(PictureFiles, DecodesGifAndGreyJpeg) {
    // Qt writes no GIF; this is a 2 x 1 GIF with one red and one blue pixel.
    const unsigned char gif[] = {
        'G',  'I', 'F',  '8',  '9', 'a', 2, 0, 1, 0, // signature, width 2, height 1
        0x80, 0,   0,                                // global colour table of 2 entries
        255,  0,   0,    0,    0,   255,             // red, blue
        0x2C, 0,   0,    0,    0,   2,   0, 1, 0, 0, // image descriptor
        2,    2,   0x44, 0x0A, 0,                    // LZW minimum code size 2, data: clear, 0, 1, end
        0x3B,                                        // trailer
    };
    const QString gifFile =
        writeBytes(QStringLiteral("p.gif"), QByteArray(reinterpret_cast<const char *>(gif), sizeof gif));
    const QImage decoded = loadPicture(gifFile);
    ASSERT_EQ(decoded.size(), QSize(2, 1));
    EXPECT_EQ(decoded.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(decoded.pixel(1, 0), qRgb(0, 0, 255));

    QImage grey(40, 30, QImage::Format_Grayscale8);
    grey.fill(200);
    const QImage g = loadPicture(write(QStringLiteral("grey.jpg"), grey, "JPG"));
    ASSERT_EQ(g.size(), QSize(40, 30));
    EXPECT_TRUE(near(g.pixel(20, 15), qRgb(200, 200, 200), 6));
}

TEST_F(PictureFiles, RefusesWhatItCannotDecode) {
    EXPECT_EQ(errorOf(writeBytes(QStringLiteral("x.tiff"), "II*\0")), "Unknown picture file extension (.tiff)");
    EXPECT_EQ(errorOf(writeBytes(QStringLiteral("noextension"), "x")), "Unknown picture file extension (.)");
    // The extension is the name's, not a dotted folder's.
    QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
    EXPECT_EQ(errorOf(writeBytes(QStringLiteral("folder.jpg/plain"), "x")), "Unknown picture file extension (.)");

    const std::string emf = errorOf(writeBytes(QStringLiteral("m.emf"), "\x01\0\0\0"));
    EXPECT_NE(emf.find("(.emf)"), std::string::npos) << emf;

    EXPECT_THROW(loadPicture(path(QStringLiteral("missing.jpg"))), InOutError);
    EXPECT_THROW(loadPicture(path(QStringLiteral("nofolder/a.png"))), InOutError);
}

TEST_F(PictureFiles, CorruptJpegGivesAnErrorNotACrash) {
    QByteArray good;
    {
        const QString p = write(QStringLiteral("good.jpg"), twoColourPicture(32, 32), "JPG");
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        good = f.readAll();
    }
    // A frame marker of a process libjpeg does not decode (lossless, arithmetic).
    QByteArray badMarker = good;
    const qsizetype frame = badMarker.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(frame, 0);
    badMarker[frame + 1] = char(0xCF);
    const QByteArray cases[] = {
        QByteArray(),                          // empty file
        QByteArray("not a picture at all"),    // no SOI marker
        QByteArray("\xFF\xD8\xFF\xE0\x00", 5), // SOI and a cut-off segment
        good.left(20),                         // header cut short
        badMarker,
    };
    int i = 0;
    for (const QByteArray &bytes : cases) {
        SCOPED_TRACE(i);
        const QString file = writeBytes(QStringLiteral("bad%1.jpg").arg(i++), bytes);
        try {
            loadPicture(file);
            ADD_FAILURE() << "decoded a corrupt JPEG";
        } catch (const PictureError &e) {
            EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos) << e.what();
        }
    }
    // Data cut off after the header still decodes; the missing rows come out grey.
    QByteArray big;
    {
        const QString p = write(QStringLiteral("big.jpg"), twoColourPicture(400, 400), "JPG");
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        big = f.readAll();
    }
    const QImage partial = loadPicture(writeBytes(QStringLiteral("cut.jpg"), big.left(big.size() / 2)));
    EXPECT_EQ(partial.size(), QSize(400, 400));
    EXPECT_TRUE(near(partial.pixel(10, 10), qRgb(255, 0, 0)));
}

TEST_F(PictureFiles, DecodesWindowsMetafilesWhateverTheirCase) {
    struct Case {
        const char *name;
        quint16 right, bottom, unitsPerInch;
        QSize expected;
    };
    const Case cases[] = {
        {"a.wmf", 64, 48, 96, {64, 48}},          // one unit to the pixel
        {"B.WMF", 2880, 1440, 1440, {192, 96}},   // two inches by one
        {"c.Wmf", 32000, 16000, 1, {4096, 2048}}, // 32000 by 16000 inches, scaled down
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const int half = c.right / 2;
        const QByteArray bytes = MetafileBuilder(c.right, c.bottom, c.unitsPerInch)
                                     .rectangle(QRect(0, 0, half, c.bottom), qRgb(255, 0, 0))
                                     .rectangle(QRect(half, 0, c.right - half, c.bottom), qRgb(0, 0, 255))
                                     .finish();
        const QImage image = loadPicture(writeBytes(QString::fromLatin1(c.name), bytes));
        ASSERT_EQ(image.size(), c.expected);
        const int w = image.width(), h = image.height();
        EXPECT_TRUE(near(image.pixel(w / 10, h / 2), qRgb(255, 0, 0)));
        EXPECT_TRUE(near(image.pixel(w * 9 / 10, h / 2), qRgb(0, 0, 255)));
    }
}

TEST_F(PictureFiles, CorruptMetafileGivesAnErrorNotACrash) {
    const QByteArray good = MetafileBuilder(64, 48, 96).rectangle(QRect(0, 0, 64, 48), qRgb(0, 255, 0)).finish();
    const auto patched = [&](qsizetype at, std::initializer_list<char> values) {
        QByteArray b = good;
        for (char v : values)
            b[at++] = v;
        return b;
    };
    const qsizetype firstRecord = 22 + 18;
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("\xD7\xCD\xC6\x9A", 4), // placeable key only
        QByteArray("not a metafile at all"),
        good.left(30),                                          // standard header cut short
        good.left(firstRecord),                                 // no records at all
        patched(firstRecord, {0, 0, 0, 0}),                     // a record of no size
        patched(firstRecord, {'\xFF', '\xFF', '\xFF', '\x7F'}), // a record larger than the file
        patched(22 + 2, {0x7F, 0}),                             // header size far beyond the file
        MetafileBuilder(0, 0, 96).finish(),                     // a picture of no size
    };
    int i = 0;
    for (const QByteArray &bytes : cases) {
        SCOPED_TRACE(i);
        const QString name = QStringLiteral("bad%1.WMF").arg(i++);
        const std::string error = errorOf(writeBytes(name, bytes));
        EXPECT_NE(error.find("metafile"), std::string::npos) << error;
        EXPECT_NE(error.find(name.toStdString()), std::string::npos) << error;
    }
}

TEST_F(PictureFiles, FailedLoadKeepsThePreviousPicture) {
    ImageView view(imagesPageView);
    view.showFile(write(QStringLiteral("one.bmp"), twoColourPicture(20, 10), "BMP"), ImageView::SizeRule::FitToWindow);
    ASSERT_EQ(view.picture().size(), QSize(20, 10));
    EXPECT_TRUE(view.viewVisible());
    EXPECT_THROW(view.showFile(writeBytes(QStringLiteral("two.tif"), "II"), ImageView::SizeRule::NaturalSize),
                 PictureError);
    EXPECT_THROW(view.loadFile(writeBytes(QStringLiteral("three.jpg"), "junk")), PictureError);
    EXPECT_THROW(view.showFile(writeBytes(QStringLiteral("four.wmf"), QByteArray("\xD7\xCD\xC6\x9A\0\0", 6)),
                               ImageView::SizeRule::NaturalSize),
                 PictureError);
    EXPECT_EQ(view.picture().size(), QSize(20, 10));
    EXPECT_EQ(view.viewSize(), QSize(257, 193)); // the size rule did not run either
}

TEST_F(PictureFiles, SizeRulesOnTheImagesPage) {
    ImageView view(imagesPageView);
    const QString wide = write(QStringLiteral("wide.jpg"), twoColourPicture(1000, 600), "JPG");
    const QString tall = write(QStringLiteral("tall.png"), twoColourPicture(768, 1024), "PNG");
    const QString small = write(QStringLiteral("small.bmp"), twoColourPicture(100, 80), "BMP");
    const QString vga = write(QStringLiteral("vga.jpeg"), twoColourPicture(640, 480), "JPG");

    view.showFile(wide, ImageView::SizeRule::FitToWindow);
    EXPECT_EQ(view.viewSize(), QSize(257, 154));
    EXPECT_TRUE(view.stretch());

    view.showFile(tall, ImageView::SizeRule::FitToWindow);
    EXPECT_EQ(view.viewSize(), QSize(145, 193));

    // Small pictures are drawn unscaled in the view as it is.
    view.showFile(small, ImageView::SizeRule::FitToWindow);
    EXPECT_EQ(view.viewSize(), QSize(145, 193));
    EXPECT_FALSE(view.stretch());

    view.resize(273, 209);
    view.show();
    view.showFile(vga, ImageView::SizeRule::NaturalSize);
    EXPECT_EQ(view.viewSize(), QSize(640, 480));
    EXPECT_TRUE(view.stretch());
    QApplication::processEvents();
    EXPECT_GT(view.horizontalScrollBar()->maximum(), 0); // the box scrolls
    EXPECT_GT(view.verticalScrollBar()->maximum(), 0);

    // Zoom keeps the stretch switch as it is.
    view.zoomOut();
    EXPECT_EQ(view.viewSize(), QSize(320, 240));
    EXPECT_TRUE(view.stretch());
    view.applyFitToWindow();
    view.zoomIn();
    EXPECT_EQ(view.viewSize(), QSize(514, 386));
    EXPECT_TRUE(view.stretch());

    view.setViewSize(QSize(1, 1));
    view.zoomOut();
    EXPECT_EQ(view.viewSize(), QSize(0, 0));
    view.zoomIn();
    EXPECT_EQ(view.viewSize(), QSize(0, 0));
}

TEST_F(PictureFiles, DialogViewTruncates) {
    ImageView view(pictureDialogView);
    view.showFile(write(QStringLiteral("vga.jpg"), twoColourPicture(640, 480), "JPG"),
                  ImageView::SizeRule::FitToWindow);
    EXPECT_EQ(view.viewSize(), QSize(280, 210));
    EXPECT_TRUE(view.stretch());
}

TEST_F(PictureFiles, StretchSwitchDecidesHowThePictureIsDrawn) {
    ImageView view(pictureDialogView);
    view.loadFile(write(QStringLiteral("p.png"), twoColourPicture(40, 20), "PNG"));
    view.setViewSize(QSize(200, 100));

    view.setStretch(false);
    const QImage unscaled = view.canvas()->grab().toImage();
    EXPECT_TRUE(near(unscaled.pixel(5, 5), qRgb(255, 0, 0)));
    EXPECT_TRUE(near(unscaled.pixel(30, 5), qRgb(0, 0, 255)));
    EXPECT_FALSE(near(unscaled.pixel(150, 80), qRgb(0, 0, 255), 10)); // outside the picture

    view.setStretch(true);
    const QImage scaled = view.canvas()->grab().toImage();
    EXPECT_TRUE(near(scaled.pixel(60, 80), qRgb(255, 0, 0)));
    EXPECT_TRUE(near(scaled.pixel(150, 80), qRgb(0, 0, 255)));
}

TEST(PictureFileNames, MimeTypeAndOpenFilter) {
    EXPECT_EQ(mimeTypeForPictureFile(QStringLiteral("/x/cover.jpeg")), QStringLiteral("image/jpeg"));
    EXPECT_EQ(mimeTypeForPictureFile(QStringLiteral("/x/COVER.JPG")), QStringLiteral("image/JPG"));
    EXPECT_EQ(mimeTypeForPictureFile(QStringLiteral("/x.y/a.b.Png")), QStringLiteral("image/Png"));
    EXPECT_EQ(mimeTypeForPictureFile(QStringLiteral("/x.y/plain")), QStringLiteral("image/"));

    const QStringList entries = pictureOpenFilter().split(QStringLiteral(";;"));
    ASSERT_EQ(entries.size(), 8);
    for (const char *ext : {"*.jpg", "*.jpeg", "*.bmp", "*.ico", "*.png", "*.gif", "*.wmf", "*.JPG", "*.WMF"})
        EXPECT_TRUE(entries[0].contains(QLatin1String(ext))) << ext;
    EXPECT_EQ(entries[7], QStringLiteral("Windows metafiles (*.wmf *.WMF)"));
    EXPECT_FALSE(pictureOpenFilter().contains(QLatin1String("emf"), Qt::CaseInsensitive));
}
