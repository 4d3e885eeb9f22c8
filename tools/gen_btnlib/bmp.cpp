// 24-bit BMP writer: the file header, a 40-byte info header, bottom-up rows padded to 4 bytes.
#include <QtEndian>

#include "tools/gen_btnlib/artwork.h"

namespace btnlib {

namespace {
void Put16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}
void Put32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}
}  // namespace

QByteArray EncodeBmp24(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int w = rgb.width(), h = rgb.height();
    const int stride = (w * 3 + 3) & ~3;
    constexpr int kHeaders = 14 + 40;
    QByteArray out;
    out.reserve(kHeaders + stride * h);
    out.append("BM", 2);
    Put32(out, quint32(kHeaders + stride * h));
    Put32(out, 0);
    Put32(out, kHeaders);
    Put32(out, 40);
    Put32(out, quint32(w));
    Put32(out, quint32(h));  // positive: bottom-up
    Put16(out, 1);           // planes
    Put16(out, 24);          // bits per pixel
    Put32(out, 0);           // BI_RGB, uncompressed
    Put32(out, quint32(stride * h));
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const uchar* row = rgb.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            const char bgr[3] = {char(row[3 * x + 2]), char(row[3 * x + 1]), char(row[3 * x])};
            out.append(bgr, 3);
        }
        out.append(QByteArray(stride - w * 3, '\0'));
    }
    return out;
}

}  // namespace btnlib
