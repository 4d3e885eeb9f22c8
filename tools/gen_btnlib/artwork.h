// The button library's artwork, drawn by our own generator: shapes (face bitmaps and their label centres),
// label pictures with masks, and the caption box of the two function-panel shapes.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <string>
#include <vector>

namespace btnlib {

// Shading values of the face bitmaps: 170 is exactly the button colour, higher is lighter, lower darker.
inline constexpr int kShadeExact = 170;

struct Shape {
    std::string name;
    int width;  // the face bitmap's size, fixed by the grid the device tables place it on
    int height;
    int labelX;  // label centre in portrait, from the button's top-left corner
    int labelY;
    QPainterPath outline;  // in bitmap pixels
};

// Every shape the library offers, the device tables' shapes first.
const std::vector<Shape>& Shapes();

// Face bitmap (24-bit, opaque): blue = coverage, red = normal shading, green = pressed shading.
// Flat faces keep the colour even instead of a bevel.
QImage DrawFace(const Shape& shape, bool flat);

// The 4 POINTS bytes: label centre (dx, dy) in portrait, then in the landscape frame (turned 90 degrees
// counter-clockwise, so the portrait width becomes the height).
std::vector<signed char> LabelPoints(const Shape& shape);

struct Label {
    std::string key;
    QImage picture;  // white-on-black glyph, black wherever the mask is white
    QImage mask;     // white where transparent, black where the label shows
};

// Every label and its mask fit the 32 x 32 cell in which "Select label" shows each label.
inline constexpr int kLabelCellSize = 32;

// Every label the library offers, the device tables' labels first.
std::vector<Label> DrawLabels();

// Caption box of "F_LEFT" and "F_RIGHT", drawn at (39, 12) or (12, 12) on the button.
inline constexpr int kCaptionBoxWidth = 67;
inline constexpr int kCaptionBoxHeight = 18;
QImage DrawCaptionBox();

// Uncompressed 24-bit bottom-up BMP, as the handheld's bitmap loader reads it.
QByteArray EncodeBmp24(const QImage& image);

}  // namespace btnlib
