// Face bitmaps. Coverage is the anti-aliased outline; shading is a bevel lit from the top left, worked out
// from the slope of a blurred coverage so that every shape, however cut, gets an even rim.
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "tools/gen_btnlib/artwork.h"

namespace btnlib {

namespace {

using Field = std::vector<float>;

Field Coverage(const Shape& shape) {
    QImage mask(shape.width, shape.height, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(shape.outline, Qt::white);
    painter.end();
    Field field(std::size_t(shape.width) * shape.height);
    for (int y = 0; y < shape.height; ++y) {
        const uchar* row = mask.constScanLine(y);
        for (int x = 0; x < shape.width; ++x) field[std::size_t(y) * shape.width + x] = row[x] / 255.0f;
    }
    return field;
}

// Box blur along one axis; outside the bitmap counts as uncovered.
Field Blur(const Field& in, int width, int height, int radius, bool horizontal) {
    Field out(in.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float sum = 0;
            for (int d = -radius; d <= radius; ++d) {
                const int xs = horizontal ? x + d : x;
                const int ys = horizontal ? y : y + d;
                if (xs >= 0 && xs < width && ys >= 0 && ys < height) sum += in[std::size_t(ys) * width + xs];
            }
            out[std::size_t(y) * width + x] = sum / float(2 * radius + 1);
        }
    }
    return out;
}

int Clamp(double value) {
    return std::clamp(int(std::lround(value)), 0, 255);
}

}  // namespace

QImage DrawFace(const Shape& shape, bool flat) {
    const int w = shape.width, h = shape.height;
    const Field cover = Coverage(shape);
    // Two box passes per axis give a smooth rounded height field about 5 pixels wide at the rim.
    constexpr int kBlurRadius = 2;
    Field height = cover;
    for (int pass = 0; pass < 2; ++pass) {
        height = Blur(height, w, h, kBlurRadius, true);
        height = Blur(height, w, h, kBlurRadius, false);
    }
    auto at = [&](const Field& f, int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h) return 0.0f;
        return f[std::size_t(y) * w + x];
    };

    QImage face(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) {
        uchar* row = face.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const float a = at(cover, x, y);
            int normal = kShadeExact;
            int pressed = kShadeExact;
            if (flat) {
                // A slightly darker rim keeps flat keys apart from a background of their own colour.
                const bool rim = at(height, x, y) < 0.55f;
                normal = rim ? 150 : kShadeExact;
                pressed = rim ? 120 : 140;
            } else {
                // Slope towards the light (top left): positive where the surface faces it.
                const float slopeY = at(height, x, y + 1) - at(height, x, y - 1);
                const float slopeX = at(height, x + 1, y) - at(height, x - 1, y);
                const double lit = 0.85 * slopeY + 0.45 * slopeX;
                // A faint top-to-bottom sheen, zero at the middle so the centre shows the exact colour.
                const double sheen = 10.0 * (0.5 - (y + 0.5) / h);
                normal = Clamp(kShadeExact + 190.0 * lit + sheen);
                pressed = Clamp(kShadeExact - 22 - 150.0 * lit - sheen);
            }
            row[3 * x + 0] = uchar(a > 0 ? normal : 0);
            row[3 * x + 1] = uchar(a > 0 ? pressed : 0);
            row[3 * x + 2] = uchar(Clamp(a * 255.0));
        }
    }
    return face;
}

QImage DrawCaptionBox() {
    // A recessed pale window for the caption text, opaque as it is copied plainly onto the key.
    QImage box(kCaptionBoxWidth, kCaptionBoxHeight, QImage::Format_RGB888);
    box.fill(QColor(244, 242, 226));
    QPainter painter(&box);
    const int r = kCaptionBoxWidth - 1, b = kCaptionBoxHeight - 1;
    painter.setPen(QColor(72, 72, 72));
    painter.drawLine(0, 0, r - 1, 0);
    painter.drawLine(0, 0, 0, b - 1);
    painter.setPen(QColor(150, 150, 146));
    painter.drawLine(1, 1, r - 2, 1);
    painter.drawLine(1, 1, 1, b - 2);
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(0, b, r, b);
    painter.drawLine(r, 0, r, b);
    return box;
}

}  // namespace btnlib
