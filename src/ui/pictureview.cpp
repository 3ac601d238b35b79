#include "ui/pictureview.h"

#include "platform/File.h"

#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>

namespace tagvane {

namespace {

// The extensions Qt decodes for us, with Qt's format name.
struct QtFormat {
    const char *extension;
    const char *format;
    const char *description;
};
constexpr QtFormat qtFormats[] = {
    {"bmp", "BMP", "Bitmaps"},
    {"ico", "ICO", "Icons"},
    {"png", "PNG", "PNG pictures"},
    {"gif", "GIF", "GIF pictures"},
};

QByteArray readWholeFile(const QString &path) {
    File file(path.toUtf8().toStdString(), File::Mode::Read);
    const uint64_t size = file.size();
    QByteArray data;
    data.resize(static_cast<qsizetype>(size));
    if (size > 0)
        file.readExact(data.data(), static_cast<size_t>(size));
    return data;
}

std::string describe(const QString &source) {
    return source.toUtf8().toStdString();
}

// libjpeg reports a fatal error by calling error_exit, which must not return;
// we jump back to the decoder with the message saved.
struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void jpegErrorExit(j_common_ptr info) {
    auto *manager = reinterpret_cast<JpegErrorManager *>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings (a file cut short, for one) leave a partly grey picture, which is
// still worth showing; they are not errors.
extern "C" void jpegEmitMessage(j_common_ptr, int) {}

// Runs libjpeg over the data into `image`. This function holds no object with
// a destructor, so the jump back from jpegErrorExit skips nothing; every QImage
// temporary it makes is gone before libjpeg runs again. Returns false with the
// message in `message` when libjpeg gave up.
bool runJpegDecoder(const unsigned char *data, unsigned long size, QImage &image, char *message) {
    jpeg_decompress_struct info;
    JpegErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jpegErrorExit;
    errors.base.emit_message = jpegEmitMessage;
    errors.message[0] = '\0';
    if (setjmp(errors.jump)) {
        std::memcpy(message, errors.message, JMSG_LENGTH_MAX);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    // Four-channel pictures come as CMYK (Adobe writes them inverted); libjpeg
    // does not turn them into RGB, so we do below.
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   cmyk ? QImage::Format_RGB32 : QImage::Format_RGB888);
    if (image.isNull()) {
        std::snprintf(message, JMSG_LENGTH_MAX, "Picture too large (%u x %u)", info.output_width, info.output_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk) {
            // Four bytes in, four bytes out: each pixel is read before it is overwritten.
            auto *pixels = reinterpret_cast<QRgb *>(row);
            for (int x = 0; x < static_cast<int>(info.output_width); ++x) {
                const unsigned c = row[4 * x], m = row[4 * x + 1], y = row[4 * x + 2], k = row[4 * x + 3];
                pixels[x] = qRgb(int(c * k / 255), int(m * k / 255), int(y * k / 255));
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// Metafiles are drawn at the screen's 96 dots per inch, but no side longer than
// this: a header may claim any size, and the drawing is scaled down instead.
constexpr double metafileDotsPerInch = 96.0;
constexpr unsigned maxMetafileSide = 4096;

const char *metafileErrorText(wmf_error_t error) {
    switch (error) {
    case wmf_E_InsMem:
        return "out of memory";
    case wmf_E_EOF:
        return "the file ends too early";
    case wmf_E_DeviceError:
        return "the picture cannot be drawn";
    case wmf_E_BadFile:
    case wmf_E_BadFormat:
    default:
        return "not a valid Windows metafile";
    }
}

// libwmf's gd device hands its PNG output to this sink piece by piece.
extern "C" int collectMetafilePng(void *context, char *buffer, int length) {
    static_cast<QByteArray *>(context)->append(buffer, length);
    return length;
}

// Owns one libwmf session, so that every way out of the decoder frees it.
struct MetafileSession {
    wmfAPI *api = nullptr;
    ~MetafileSession() {
        if (api)
            wmf_api_destroy(api);
    }
};

QString suffixOf(const QString &path) {
    // The extension after the last dot of the name itself, not of a folder.
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

int convert(double value, ImageViewGeometry::Conversion conversion) {
    // The default rounding mode of nearbyint rounds halves to even.
    return static_cast<int>(conversion == ImageViewGeometry::Conversion::RoundHalfEven ? std::nearbyint(value)
                                                                                   : std::trunc(value));
}

} // namespace

QImage decodeJpeg(const QByteArray &data, const QString &source) {
    QImage image;
    char message[JMSG_LENGTH_MAX] = {};
    if (!runJpegDecoder(reinterpret_cast<const unsigned char *>(data.constData()),
                        static_cast<unsigned long>(data.size()), image, message))
        throw PictureError("Cannot decode the JPEG picture " + describe(source) + ": " + message);
    return image;
}

QImage decodeWmf(const QByteArray &data, const QString &source) {
    const auto fail = [&](const char *why) {
        return PictureError("Cannot decode the metafile picture " + describe(source) + ": " + why);
    };
    // libwmf refuses an empty buffer with a message of its own on stderr.
    if (data.isEmpty())
        throw fail(metafileErrorText(wmf_E_EOF));
    QByteArray png;
    {
        MetafileSession session;
        wmfAPI_Options options{};
        options.function = wmf_gd_function;
        const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        wmf_error_t error = wmf_api_create(&session.api, flags, &options);
        if (error != wmf_E_None)
            throw fail(metafileErrorText(error));
        // libwmf only reads the buffer, whatever its declaration says.
        auto *bytes = reinterpret_cast<unsigned char *>(const_cast<char *>(data.constData()));
        wmfD_Rect box{};
        unsigned width = 0, height = 0;
        if ((error = wmf_mem_open(session.api, bytes, static_cast<long>(data.size()))) == wmf_E_None &&
            (error = wmf_scan(session.api, 0, &box)) == wmf_E_None)
            error = wmf_display_size(session.api, &width, &height, metafileDotsPerInch, metafileDotsPerInch);
        if (error != wmf_E_None)
            throw fail(metafileErrorText(error));
        if (width > maxMetafileSide || height > maxMetafileSide) {
            const double dots = metafileDotsPerInch * maxMetafileSide / std::max(width, height);
            error = wmf_display_size(session.api, &width, &height, dots, dots);
            if (error != wmf_E_None)
                throw fail(metafileErrorText(error));
        }
        if (width == 0 || height == 0 || width > maxMetafileSide || height > maxMetafileSide)
            throw fail("the picture has no usable size");
        wmf_gd_t *device = WMF_GD_GetData(session.api);
        device->type = wmf_gd_png;
        device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
        device->sink.context = &png;
        device->sink.function = collectMetafilePng;
        device->width = width;
        device->height = height;
        device->bbox = box;
        if ((error = wmf_play(session.api, 0, &box)) != wmf_E_None)
            throw fail(metafileErrorText(error));
    }
    QImage image;
    if (!image.loadFromData(png, "PNG"))
        throw fail(metafileErrorText(wmf_E_DeviceError));
    return image;
}

QImage loadPicture(const QString &path) {
    const QString suffix = suffixOf(path);
    const QString lower = suffix.toLower();
    if (lower == QLatin1String("jpg") || lower == QLatin1String("jpeg"))
        return decodeJpeg(readWholeFile(path), path);
    for (const auto &format : qtFormats) {
        if (lower != QLatin1String(format.extension))
            continue;
        const QByteArray data = readWholeFile(path);
        QImage image;
        if (!image.loadFromData(data, format.format))
            throw PictureError("Cannot decode the picture " + describe(path) + " as " + format.format);
        return image;
    }
    if (lower == QLatin1String("wmf"))
        return decodeWmf(readWholeFile(path), path);
    if (lower == QLatin1String("emf"))
        throw PictureError("Enhanced metafile pictures (." + describe(suffix) + ") cannot be shown on this system");
    throw PictureError("Unknown picture file extension (." + describe(suffix) + ")");
}

QString pictureOpenFilter() {
    // Both letter cases, since file dialogs on this system match patterns case-sensitively.
    const auto patterns = [](std::initializer_list<const char *> extensions) {
        QStringList out;
        for (const char *e : extensions) {
            out << QStringLiteral("*.") + QLatin1String(e);
            out << QStringLiteral("*.") + QString::fromLatin1(e).toUpper();
        }
        return out.join(QLatin1Char(' '));
    };
    QStringList entries;
    entries << QStringLiteral("All pictures (") + patterns({"jpg", "jpeg", "bmp", "ico", "png", "gif", "wmf"}) +
                   QLatin1Char(')');
    entries << QStringLiteral("JPEG pictures (") + patterns({"jpg"}) + QLatin1Char(')');
    entries << QStringLiteral("JPEG pictures (") + patterns({"jpeg"}) + QLatin1Char(')');
    for (const auto &format : qtFormats)
        entries << QLatin1String(format.description) + QStringLiteral(" (") + patterns({format.extension}) +
                       QLatin1Char(')');
    entries << QStringLiteral("Windows metafiles (") + patterns({"wmf"}) + QLatin1Char(')');
    return entries.join(QStringLiteral(";;"));
}

QString mimeTypeForPictureFile(const QString &path) {
    return QStringLiteral("image/") + suffixOf(path);
}

std::optional<QSize> fitToWindowSize(const ImageViewGeometry &box, QSize picture) {
    const double w = picture.width(), h = picture.height();
    double f;
    if (h > w && h > box.limitHeight)
        f = h / box.divisorHeight;
    else if (h <= w && w > box.limitWidth)
        f = w / box.divisorWidth;
    else
        return std::nullopt;
    return QSize(convert(w / f, box.conversion), convert(h / f, box.conversion));
}

QSize zoomedIn(QSize view) {
    // A widget is never larger than QWIDGETSIZE_MAX, which keeps the doubling within int.
    const auto twice = [](int n) { return std::min(n, QWIDGETSIZE_MAX) * 2; };
    return QSize(twice(view.width()), twice(view.height()));
}
QSize zoomedOut(QSize view) {
    return QSize(view.width() / 2, view.height() / 2);
}

void PictureCanvas::paintEvent(QPaintEvent *) {
    if (picture.isNull())
        return;
    QPainter painter(this);
    if (stretch) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), picture);
    } else {
        painter.drawImage(0, 0, picture);
    }
}

ImageView::ImageView(const ImageViewGeometry &box, QWidget *parent)
    : QScrollArea(parent), geometry_(box), canvas_(new PictureCanvas) {
    resize(box.boxWidth, box.boxHeight);
    setWidgetResizable(false);
    canvas_->setObjectName(QStringLiteral("pictureCanvas"));
    canvas_->resize(box.startWidth, box.startHeight);
    setWidget(canvas_);
    canvas_->setVisible(!box.startHidden);
}

void ImageView::loadFile(const QString &path) {
    setPicture(loadPicture(path));
}

void ImageView::setPicture(const QImage &image) {
    canvas_->picture = image;
    canvas_->update();
}

void ImageView::showFile(const QString &path, SizeRule rule) {
    setViewVisible(true);
    loadFile(path);
    applySizeRule(rule);
}

void ImageView::applySizeRule(SizeRule rule) {
    if (rule == SizeRule::NaturalSize)
        applyNaturalSize();
    else
        applyFitToWindow();
}

void ImageView::applyNaturalSize() {
    setViewSize(canvas_->picture.size());
    setStretch(true);
}

void ImageView::applyFitToWindow() {
    setStretch(false);
    if (const auto size = fitToWindowSize(geometry_, canvas_->picture.size())) {
        setViewSize(*size);
        setStretch(true);
    }
}

void ImageView::zoomIn() {
    setViewSize(zoomedIn(viewSize()));
}
void ImageView::zoomOut() {
    setViewSize(zoomedOut(viewSize()));
}

const QImage &ImageView::picture() const {
    return canvas_->picture;
}
QSize ImageView::viewSize() const {
    return canvas_->size();
}
void ImageView::setViewSize(QSize size) {
    canvas_->resize(size);
}
bool ImageView::stretch() const {
    return canvas_->stretch;
}

void ImageView::setStretch(bool on) {
    canvas_->stretch = on;
    canvas_->update();
}

bool ImageView::viewVisible() const {
    return !canvas_->isHidden();
}
void ImageView::setViewVisible(bool visible) {
    canvas_->setVisible(visible);
}

} // namespace tagvane
