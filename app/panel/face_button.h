// Skin buttons: the drawable form of one button of a device. A button is composed pixel by pixel from the
// button library's face bitmap (blue = coverage, red = normal shading, green = pressed shading), tinted in
// its colour over the panel's background, with its label picture and, on the two function shapes, a caption.
// Geometry is kept in portrait coordinates of a 240-pixel-wide screen and turned for landscape.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/panel/bitmap24.h"
#include "handheld/types.h"

inline constexpr int STATE_NORMAL = 1;
inline constexpr int STATE_PRESSED = 2;

// Orientation values: 1 portrait, 2 landscape, 0 unknown.
inline constexpr int kOrientationUnknown = 0;
inline constexpr int kOrientationPortrait = 1;
inline constexpr int kOrientationLandscape = 2;

// Width of the portrait screen, the axis that landscape turns into the vertical one.
inline constexpr int kPortraitWidthPx = 240;

// 320 rows give portrait, 240 landscape, anything else unknown.
int ScreenOrientation(int verticalResolutionPx);

// A portrait rectangle as the screen shows it: unchanged in portrait, turned counter-clockwise in landscape
// (x' = y, y' = 240 - x - width), empty at the origin for an unknown orientation.
PixelRect OrientedRect(const PixelRect& portrait, int orientation);

// What drawing reads from the button library; both lookups by exact resource name.
class ButtonArtwork {
public:
    using LabelPoints = std::array<std::int8_t, 4>;  // portrait (dx, dy), then landscape (dx, dy)

    virtual ~ButtonArtwork() = default;
    // The bitmap, or null when the library has none of that name.
    virtual const Bitmap24* Bitmap(std::u16string_view name) const = 0;
    // The "POINTS" resource of a shape; nothing when it is missing or shorter than 4 bytes.
    virtual std::optional<LabelPoints> Points(std::u16string_view shapeName) const = 0;
};

// Writes a caption in the caption font ("Tahoma", 12 px, bold), black, transparent background, left-aligned,
// one line, vertically centred in rect.
class TextPainter {
public:
    virtual ~TextPainter() = default;
    virtual void DrawCaption(Bitmap24& target, const PixelRect& rect, std::u16string_view text) const = 0;
};

// Where a button is drawn: the pixels, the orientation of the screen they belong to, and the text painter
// (none: captions are left out).
struct DeviceContext {
    Bitmap24& pixels;
    int orientation = kOrientationPortrait;
    const TextPainter* text = nullptr;
};

struct FaceButton {
    std::int16_t captionSide = 0;  // -1 "F_LEFT", +1 "F_RIGHT": the button shows a caption box
    std::u16string caption;
    bool moving = false;
    const ButtonArtwork* library = nullptr;
    handheld::HWND window = nullptr;
    std::u16string name;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool sizeFromBitmap = false;
    std::int32_t state = STATE_NORMAL;
    std::u16string shapeName;  // skin name without a leading "FLAT_"
    std::u16string skinName;
    std::uint32_t color = 0;  // 0x00BBGGRR
    std::array<std::int32_t, 2> labelOffset{0, 0};
    std::u16string label;

    void Create(const ButtonArtwork* buttonLibrary, handheld::HWND panelWindow, std::u16string_view buttonName,
                int left, int top, int initialState, std::u16string_view skin, bool sizeFromFace);
    // Size from the face bitmap (when asked for and present) and the portrait label offset from "POINTS".
    void Measure();
    void SetColor(std::uint32_t colorref) { color = colorref; }
    void SetLabel(std::u16string_view labelKey) { label = labelKey; }
    PixelRect GetRect() const { return {x, y, width, height}; }
    void SetPosition(int left, int top) { x = left, y = top; }
};

// The background a button is blended against: the panel's colour, and its picture in picture mode. Outside
// the picture the colour is used.
struct ButtonBackground {
    std::uint32_t color = 0;
    const Bitmap24* picture = nullptr;
};

// Shading of one colour channel by a face intensity: 170 gives the channel, 0 black, 255 white.
int ShadeChannel(int intensity, int channel);
// A channel of the shaded face over the background at the given coverage (0 background, 255 face).
int BlendChannel(int coverage, int background, int shaded);

// Composes the button onto dc: face, label (mask AND, then picture XOR), caption box and caption. State 0
// draws the button's own state.
void DrawFaceButton(const FaceButton& button, DeviceContext& dc, int state, const ButtonBackground& background,
                    bool opaqueButtons, int labelRotation);
// One label pass: the named bitmap, turned by labelRotation (0, 90 clockwise, 180, 90 counter-clockwise),
// centred on the shape's label point, one pixel right and down when pressed.
void DrawButtonLabel(const FaceButton& button, DeviceContext& dc, int state, int labelRotation,
                     std::u16string_view bitmapName, RasterOp op);
// True when the portrait point lies on a covered pixel of the face (right and bottom edges are outside).
bool HitTestButton(const FaceButton& button, int px, int py);
