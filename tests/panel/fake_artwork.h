// A button library in memory for the panel tests, and pictures made pixel by pixel.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/panel/face_button.h"

namespace panel_test {

class FakeArtwork : public ButtonArtwork {
public:
    const Bitmap24* Bitmap(std::u16string_view name) const override {
        const auto it = bitmaps.find(std::u16string(name));
        return it == bitmaps.end() ? nullptr : &it->second;
    }
    std::optional<LabelPoints> Points(std::u16string_view shapeName) const override {
        const auto it = points.find(std::u16string(shapeName));
        if (it == points.end()) return std::nullopt;
        return it->second;
    }

    std::map<std::u16string, Bitmap24> bitmaps;
    std::map<std::u16string, LabelPoints> points;
};

// A face bitmap whose every pixel has the given coverage (blue), normal (red) and pressed (green) shading.
inline Bitmap24 Face(int width, int height, int coverage, int normalShade, int pressedShade) {
    Bitmap24 face(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = face.Pixel(x, y);
            p[0] = std::uint8_t(coverage);
            p[1] = std::uint8_t(pressedShade);
            p[2] = std::uint8_t(normalShade);
        }
    }
    return face;
}

inline Bitmap24 Solid(int width, int height, std::uint32_t colorref) {
    Bitmap24 bitmap(width, height);
    bitmap.Fill(colorref);
    return bitmap;
}

inline constexpr std::uint32_t Rgb(int r, int g, int b) {
    return std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16;
}

// Records the captions written instead of drawing them.
class RecordingTextPainter : public TextPainter {
public:
    void DrawCaption(Bitmap24& target, const PixelRect& rect, std::u16string_view text) const override {
        calls.push_back({rect, std::u16string(text)});
        // A mark at the rectangle's corner shows where in the target the text went.
        if (target.Contains(rect.x, rect.y)) target.SetColor(rect.x, rect.y, Rgb(1, 2, 3));
    }
    mutable std::vector<std::pair<PixelRect, std::u16string>> calls;
};

}  // namespace panel_test
