// Pixel buffers as the handheld's device-independent bitmaps hold them: 24 bits per pixel in the byte order
// blue, green, red, top-down rows padded to a multiple of 4 bytes. All panel composition works on these.
#pragma once

#include <cstdint>
#include <vector>

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    bool Intersects(const PixelRect& other) const;
};

class Bitmap24 {
public:
    Bitmap24() = default;
    // A black buffer; a negative size gives an empty one.
    Bitmap24(int width, int height);

    static int StrideFor(int width) { return (width * 3 + 3) & ~3; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return StrideFor(width_); }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    std::uint8_t* Row(int y) { return bytes_.data() + std::size_t(y) * Stride(); }
    const std::uint8_t* Row(int y) const { return bytes_.data() + std::size_t(y) * Stride(); }
    std::uint8_t* Pixel(int x, int y) { return Row(y) + 3 * x; }
    const std::uint8_t* Pixel(int x, int y) const { return Row(y) + 3 * x; }
    std::vector<std::uint8_t>& Bytes() { return bytes_; }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

    // 0x00BBGGRR of a pixel, and setting one from it.
    std::uint32_t ColorAt(int x, int y) const;
    void SetColor(int x, int y, std::uint32_t colorref);
    void Fill(std::uint32_t colorref);

    bool operator==(const Bitmap24& other) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> bytes_;
};

// The raster operations the panel uses: plain copy, destination AND source (a label's mask), destination XOR
// source (the label picture over its masked hole).
enum class RasterOp { Copy, And, Invert };

// Copies the w x h rectangle at (sx, sy) of source to (x, y) of target with op; both sides are clipped.
void BlitBitmap(Bitmap24& target, int x, int y, int w, int h, const Bitmap24& source, int sx, int sy, RasterOp op);
inline void BlitBitmap(Bitmap24& target, int x, int y, const Bitmap24& source, RasterOp op) {
    BlitBitmap(target, x, y, source.Width(), source.Height(), source, 0, 0, op);
}

// Turns of a whole picture; a quarter turn swaps width and height.
Bitmap24 TurnCounterClockwise(const Bitmap24& source);
Bitmap24 TurnClockwise(const Bitmap24& source);
Bitmap24 TurnHalf(const Bitmap24& source);

// The landscape block copy: the h-wide, w-tall rectangle at the source's origin lands on the w-wide, h-tall
// rectangle at (x, y) of target, turned 90 degrees counter-clockwise. Source pixels beyond the source read
// as black; the target is clipped.
void RotatedBlt(Bitmap24& target, int x, int y, int w, int h, const Bitmap24& source, RasterOp op);
