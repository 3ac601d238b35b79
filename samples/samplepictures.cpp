// The two sample pictures, drawn pixel by pixel so that the bytes are the same
// on every machine. The JPEG goes through libjpeg rather than Qt's image
// plugins, which a build-time tool cannot count on finding.
#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

#include "samplefiles.h"

namespace tagvane {

namespace {

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

unsigned char channel(double v) {
    return static_cast<unsigned char>(std::clamp(std::lround(v), 0L, 255L));
}

// Sky from night blue to orange, a sun on the horizon and its broken
// reflection in the sea.
Rgb sunsetPixel(int x, int y, int size) {
    const double horizon = size * 0.62;
    const double sunX = size * 0.5, sunY = horizon - size * 0.04, sunR = size * 0.16;
    if (y < horizon) {
        Rgb sky = mix({18, 24, 80}, {250, 150, 70}, y / horizon);
        const double d = std::hypot(x - sunX, y - sunY);
        if (d <= sunR)
            return mix({255, 236, 120}, {255, 200, 80}, d / sunR);
        return mix({255, 200, 110}, sky, (d - sunR) / (size * 0.25)); // glow
    }
    const double depth = (y - horizon) / (size - horizon);
    Rgb sea = mix({60, 50, 90}, {10, 20, 50}, depth);
    const double halfWidth = sunR * (1.0 - 0.6 * depth);
    const bool wave = (y / 3 + x / 17) % 2 == 0;
    if (std::abs(x - sunX) < halfWidth && wave)
        sea = mix(sea, {255, 180, 90}, 0.7 - 0.5 * depth);
    return sea;
}

// How much of a pixel a shape covers, from 4 x 4 samples, for smooth edges.
template <class Inside> double coverage(int x, int y, Inside inside) {
    int hits = 0;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            hits += inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4) ? 1 : 0;
    return hits / 16.0;
}

// One shape's share of a pixel and its colour.
struct Layer {
    double alpha;
    Rgb colour;
};

} // namespace

std::string sunsetJpeg() {
    constexpr int size = 160;
    std::vector<unsigned char> pixels(size * size * 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const Rgb c = sunsetPixel(x, y, size);
            unsigned char *p = &pixels[static_cast<size_t>((y * size + x) * 3)];
            p[0] = channel(c.r);
            p[1] = channel(c.g);
            p[2] = channel(c.b);
        }

    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors); // a fault ends the tool with libjpeg's message
    jpeg_create_compress(&info);
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = size;
    info.image_height = size;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = &pixels[static_cast<size_t>(info.next_scanline) * size * 3];
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char *>(out), outSize);
    std::free(out);
    return bytes;
}

std::string shapesPng() {
    constexpr int size = 96;
    QImage image(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const auto circle = [](double px, double py) { return std::hypot(px - 34, py - 34) <= 26; };
            const auto square = [](double px, double py) { return px >= 44 && px <= 88 && py >= 40 && py <= 84; };
            const auto triangle = [](double px, double py) {
                // Apex (24, 50), base from (4, 90) to (44, 90).
                return py <= 90 && py >= 50 && std::abs(px - 24) <= (py - 50) / 2;
            };
            const Layer layers[] = {{coverage(x, y, circle), {220, 50, 50}},
                                    {0.85 * coverage(x, y, square), {40, 160, 90}},
                                    {coverage(x, y, triangle), {40, 90, 220}}};
            // Each shape laid over those before it, on a transparent ground.
            double alpha = 0;
            Rgb colour{0, 0, 0};
            for (const Layer &layer : layers) {
                const double a = layer.alpha + alpha * (1 - layer.alpha);
                if (a > 0)
                    colour = mix(colour, layer.colour, layer.alpha / a);
                alpha = a;
            }
            image.setPixel(x, y, qRgba(channel(colour.r), channel(colour.g), channel(colour.b), channel(alpha * 255)));
        }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw std::runtime_error("Qt could not encode the PNG picture");
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace tagvane
