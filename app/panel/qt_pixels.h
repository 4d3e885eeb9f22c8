// The Qt side of the panel's pixel buffers: the button library's bitmaps as buffers, buffers as images for
// painting, and the caption font.
#pragma once

#include <QFont>
#include <QImage>
#include <map>
#include <optional>
#include <string>

#include "app/panel/bitmap24.h"
#include "app/panel/face_button.h"
#include "handheld/shell/resource_library.h"

// A copy of any image as a 24-bit buffer; an empty buffer for a null image.
Bitmap24 BitmapFromImage(const QImage& image);
// An image that paints straight into the buffer (it must outlive the image and keep its size).
QImage ImageOnBitmap(Bitmap24& bitmap);
QImage ImageOnBitmap(const Bitmap24& bitmap);

// The caption font: "Tahoma", 12 pixels, bold. The Tahoma-compatible font files of the host are added on
// first use; without them Qt's nearest match is used.
QFont CaptionFont();

class CaptionTextPainter : public TextPainter {
public:
    void DrawCaption(Bitmap24& target, const PixelRect& rect, std::u16string_view text) const override;
};

// The button library as drawing reads it. The library's contents never change while it is loaded, so each
// bitmap is decoded once and kept with it; a missing one is remembered as missing.
class LibraryArtwork : public ButtonArtwork {
public:
    explicit LibraryArtwork(handheld::HMODULE library) : library_(library) {}

    const Bitmap24* Bitmap(std::u16string_view name) const override;
    std::optional<LabelPoints> Points(std::u16string_view shapeName) const override;
    handheld::HMODULE Library() const { return library_; }

private:
    handheld::HMODULE library_;
    mutable std::map<std::u16string, std::optional<Bitmap24>, std::less<>> bitmaps_;
    mutable std::map<std::u16string, std::optional<LabelPoints>, std::less<>> points_;
};
