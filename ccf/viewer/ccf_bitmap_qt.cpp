#include "ccf/viewer/ccf_bitmap_qt.h"

#include <cstring>

QColor CCFColorRef(std::uint32_t colorRef) {
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

QColor CCFBitmap::Color(std::uint8_t index) const {
    return CCFColorRef(GetColor(index));
}

std::uint32_t CCFBitmap2::GetColor(std::uint8_t index) const {
    return CCFGetColor(CCFBitmapKind::kBitmap2, index);
}
std::uint32_t CCFBitmap4::GetColor(std::uint8_t index) const {
    return CCFGetColor(CCFBitmapKind::kBitmap4, index);
}
std::uint32_t CCFBitmap256::GetColor(std::uint8_t index) const {
    return CCFGetColor(CCFBitmapKind::kBitmap256, index);
}

namespace {

// One colour table per kind, made on first use and shared by every image of the kind.
const QList<QRgb>& ColorTable(CCFBitmapKind kind) {
    static const auto make = [](CCFBitmapKind k) {
        QList<QRgb> table(256);
        for (int i = 0; i < 256; ++i) table[i] = CCFColorRef(CCFGetColor(k, std::uint8_t(i))).rgb();
        return table;
    };
    static const QList<QRgb> two = make(CCFBitmapKind::kBitmap2);
    static const QList<QRgb> four = make(CCFBitmapKind::kBitmap4);
    static const QList<QRgb> full = make(CCFBitmapKind::kBitmap256);
    return kind == CCFBitmapKind::kBitmap2 ? two : kind == CCFBitmapKind::kBitmap4 ? four : full;
}

}  // namespace

std::unique_ptr<CCFBitmap> CCFMakeBitmap(CCFImage* image, const CCFColorSet* colors) {
    const CCFBitmapPixels pixels = CCFMakeBitmapPixels(image, colors);
    if (pixels.kind == CCFBitmapKind::kNone) return nullptr;
    QImage qimage;
    if (pixels.HasPixels() && pixels.width > 0 && pixels.height > 0) {
        qimage = QImage(pixels.width, pixels.height, QImage::Format_Indexed8);
        qimage.setColorTable(ColorTable(pixels.kind));
        for (int y = 0; y < pixels.height; ++y) {
            std::memcpy(qimage.scanLine(y), pixels.indices.data() + std::size_t(y) * pixels.stride,
                        std::size_t(pixels.width));
        }
        // Drawn many times, converted once.
        qimage = qimage.convertToFormat(QImage::Format_RGB32);
    }
    switch (pixels.kind) {
        case CCFBitmapKind::kBitmap2:
            return std::make_unique<CCFBitmap2>(image, std::move(qimage));
        case CCFBitmapKind::kBitmap4:
            return std::make_unique<CCFBitmap4>(image, std::move(qimage));
        default:
            return std::make_unique<CCFBitmap256>(image, std::move(qimage));
    }
}
