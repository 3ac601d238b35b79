#pragma once

#include <QImage>
#include <QScrollArea>
#include <QSize>
#include <QString>

#include <optional>
#include <stdexcept>
#include <string>

namespace tagvane {

// A picture file that could not be decoded: an extension we cannot show, or
// data the decoder rejects. Files that cannot be opened throw InOutError instead.
class PictureError : public std::runtime_error {
public:
    explicit PictureError(const std::string &message) : std::runtime_error(message) {}
};

// Decodes a picture file by its extension, whatever its letter case: ".jpg" and
// ".jpeg" through libjpeg, ".bmp", ".ico", ".png" and ".gif" through Qt, ".wmf"
// through libwmf; ".emf" is refused with its extension named. Throws
// InOutError when the file cannot be read, PictureError when it cannot be decoded.
QImage loadPicture(const QString &path);

// Decodes JPEG data held in memory; throws PictureError naming `source` when
// libjpeg gives up on it.
QImage decodeJpeg(const QByteArray &data, const QString &source);

// Draws a Windows metafile held in memory at 96 dots per inch (scaled down so
// that no side exceeds 4096 pixels); throws PictureError naming `source` when
// libwmf rejects it.
QImage decodeWmf(const QByteArray &data, const QString &source);

// Filter of the picture-open dialog: every extension loadPicture decodes, first
// all together, then one entry each.
QString pictureOpenFilter();

// The MIME type a picked picture file gets: "image/" and the extension after
// the name's last dot, in the name's own letter case ("a.JPG" gives "image/JPG").
QString mimeTypeForPictureFile(const QString &path);

// The numbers of one image view: its scrollable box, the view's size at start,
// and how "fit to window" scales a picture.
struct ImageViewGeometry {
    enum class Conversion { RoundHalfEven, Truncate };
    int boxWidth, boxHeight;
    int startWidth, startHeight;
    bool startHidden;
    int limitWidth, limitHeight;
    double divisorWidth, divisorHeight;
    Conversion conversion;
};

inline constexpr ImageViewGeometry imagesPageView{273, 209, 257, 193, true,
                                                  257, 193, 257, 193, ImageViewGeometry::Conversion::RoundHalfEven};
inline constexpr ImageViewGeometry pictureDialogView{297, 353, 281, 337, false,
                                                     281, 337, 280, 336, ImageViewGeometry::Conversion::Truncate};

// The view size that fits a picture of the given natural size into the view,
// or nothing when the picture is small enough to be drawn unscaled in the view
// as it is.
std::optional<QSize> fitToWindowSize(const ImageViewGeometry &box, QSize picture);
QSize zoomedIn(QSize view);
// Halves each side, dropping the remainder.
QSize zoomedOut(QSize view);

class PictureCanvas;

// A picture view inside a scrollable box. The view has its own size and a
// stretch switch: stretched, the picture fills the view; otherwise it is drawn
// at its natural size from the top-left corner and cut at the view's edges.
class ImageView : public QScrollArea {
    Q_OBJECT
public:
    enum class SizeRule { NaturalSize, FitToWindow };

    explicit ImageView(const ImageViewGeometry &box, QWidget *parent = nullptr);

    // Loads the picture file; on failure throws and keeps the picture shown.
    void loadFile(const QString &path);
    void setPicture(const QImage &image);
    // Makes the view visible, loads the file and applies the size rule.
    void showFile(const QString &path, SizeRule rule);

    void applySizeRule(SizeRule rule);
    void applyNaturalSize();
    void applyFitToWindow();
    void zoomIn();
    void zoomOut();

    const QImage &picture() const;
    QSize viewSize() const;
    void setViewSize(QSize size);
    bool stretch() const;
    void setStretch(bool on);
    bool viewVisible() const;
    void setViewVisible(bool visible);
    PictureCanvas *canvas() const { return canvas_; }
    const ImageViewGeometry &box() const { return geometry_; }

private:
    ImageViewGeometry geometry_;
    PictureCanvas *canvas_;
};

// The view itself: paints the picture by the stretch switch.
class PictureCanvas : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    QImage picture;
    bool stretch = false;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tagvane
