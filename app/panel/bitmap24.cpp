#include "app/panel/bitmap24.h"

#include <algorithm>

bool PixelRect::Intersects(const PixelRect& other) const {
    if (width <= 0 || height <= 0 || other.width <= 0 || other.height <= 0) return false;
    return x < other.Right() && other.x < Right() && y < other.Bottom() && other.y < Bottom();
}

Bitmap24::Bitmap24(int width, int height) {
    if (width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    bytes_.assign(std::size_t(Stride()) * std::size_t(height), 0);
}

std::uint32_t Bitmap24::ColorAt(int x, int y) const {
    const std::uint8_t* p = Pixel(x, y);
    return std::uint32_t(p[2]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[0]) << 16;
}

void Bitmap24::SetColor(int x, int y, std::uint32_t colorref) {
    std::uint8_t* p = Pixel(x, y);
    p[0] = std::uint8_t(colorref >> 16);
    p[1] = std::uint8_t(colorref >> 8);
    p[2] = std::uint8_t(colorref);
}

void Bitmap24::Fill(std::uint32_t colorref) {
    if (Empty()) return;
    for (int x = 0; x < width_; ++x) SetColor(x, 0, colorref);
    for (int y = 1; y < height_; ++y) std::copy_n(Row(0), 3 * width_, Row(y));
}

void BlitBitmap(Bitmap24& target, int x, int y, int w, int h, const Bitmap24& source, int sx, int sy, RasterOp op) {
    // Clip the rectangle against the source, then against the target, moving both corners together.
    if (sx < 0) x -= sx, w += sx, sx = 0;
    if (sy < 0) y -= sy, h += sy, sy = 0;
    if (x < 0) sx -= x, w += x, x = 0;
    if (y < 0) sy -= y, h += y, y = 0;
    w = std::min({w, source.Width() - sx, target.Width() - x});
    h = std::min({h, source.Height() - sy, target.Height() - y});
    if (w <= 0 || h <= 0) return;
    for (int row = 0; row < h; ++row) {
        const std::uint8_t* in = source.Pixel(sx, sy + row);
        std::uint8_t* out = target.Pixel(x, y + row);
        const int count = 3 * w;
        switch (op) {
            case RasterOp::Copy:
                std::copy_n(in, count, out);
                break;
            case RasterOp::And:
                for (int i = 0; i < count; ++i) out[i] &= in[i];
                break;
            case RasterOp::Invert:
                for (int i = 0; i < count; ++i) out[i] ^= in[i];
                break;
        }
    }
}

namespace {

// Every source pixel (c, r) goes to place(c, r) of a result of the given size.
template <typename Place>
Bitmap24 Remap(const Bitmap24& source, int width, int height, Place place) {
    Bitmap24 result(width, height);
    for (int r = 0; r < source.Height(); ++r) {
        for (int c = 0; c < source.Width(); ++c) {
            const auto [tx, ty] = place(c, r);
            std::copy_n(source.Pixel(c, r), 3, result.Pixel(tx, ty));
        }
    }
    return result;
}

}  // namespace

Bitmap24 TurnCounterClockwise(const Bitmap24& source) {
    const int w = source.Width();
    return Remap(source, source.Height(), w, [w](int c, int r) { return std::pair{r, w - 1 - c}; });
}

Bitmap24 TurnClockwise(const Bitmap24& source) {
    const int h = source.Height();
    return Remap(source, h, source.Width(), [h](int c, int r) { return std::pair{h - 1 - r, c}; });
}

Bitmap24 TurnHalf(const Bitmap24& source) {
    const int w = source.Width(), h = source.Height();
    return Remap(source, w, h, [w, h](int c, int r) { return std::pair{w - 1 - c, h - 1 - r}; });
}

void RotatedBlt(Bitmap24& target, int x, int y, int w, int h, const Bitmap24& source, RasterOp op) {
    Bitmap24 portrait(h, w);
    BlitBitmap(portrait, 0, 0, h, w, source, 0, 0, RasterOp::Copy);
    BlitBitmap(target, x, y, TurnCounterClockwise(portrait), op);
}
