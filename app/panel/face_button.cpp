#include "app/panel/face_button.h"

#include <algorithm>
#include <memory>

namespace {

constexpr std::u16string_view kFlatPrefix = u"FLAT_";
constexpr std::u16string_view kCaptionBoxBitmap = u"IDB_BTNFACE";
constexpr std::u16string_view kMaskSuffix = u"_MASK";

// Shading value at which a face shows exactly the button's colour; above it lightens towards white.
constexpr int kExactShade = 170;
constexpr int kLightRange = 255 - kExactShade;

// Caption box corner on the button in portrait, by caption side; in landscape the turned box goes to these.
constexpr int kCaptionBoxLeftSideDx = 39;
constexpr int kCaptionBoxRightSideDx = 12;
constexpr int kCaptionBoxDy = 12;
constexpr int kTurnedCaptionBoxDx = 12;
constexpr int kTurnedCaptionBoxLeftSideDy = 12;
constexpr int kTurnedCaptionBoxRightSideDy = 40;

struct Bgr {
    int channel[3];  // blue, green, red: the buffers' byte order
};

Bgr FromColorref(std::uint32_t colorref) {
    return {{int((colorref >> 16) & 0xFF), int((colorref >> 8) & 0xFF), int(colorref & 0xFF)}};
}

Bgr FromPixel(const std::uint8_t* pixel) {
    return {{pixel[0], pixel[1], pixel[2]}};
}

// The picture pixel under a target pixel. The landscape panel shows the picture turned counter-clockwise,
// so its column runs up the screen. Null outside the picture.
const std::uint8_t* PicturePixelUnder(const Bitmap24& picture, int orientation, int tx, int ty) {
    int column = tx, row = ty;
    if (orientation == kOrientationLandscape) column = picture.Width() - 1 - ty, row = tx;
    return picture.Contains(column, row) ? picture.Pixel(column, row) : nullptr;
}

// ShadeChannel and BlendChannel for every byte pair, so the per-pixel work is table lookups with exactly their
// truncations.
struct ChannelTables {
    std::uint8_t shade[256][256];    // [intensity][channel]
    std::uint8_t portion[256][256];  // [coverage][value] = coverage * value / 255
};

const ChannelTables& Tables() {
    static const std::unique_ptr<ChannelTables> tables = [] {
        auto t = std::make_unique<ChannelTables>();
        for (int a = 0; a < 256; ++a) {
            for (int v = 0; v < 256; ++v) {
                t->shade[a][v] = std::uint8_t(ShadeChannel(a, v));
                t->portion[a][v] = std::uint8_t(BlendChannel(a, 0, v));
            }
        }
        return t;
    }();
    return *tables;
}

// Composes the face onto the target at `at`. In landscape the face is read turned counter-clockwise: the
// target's row i is the face's column at.height - 1 - i, read downwards.
void ComposeFace(const FaceButton& button, DeviceContext& dc, int state, const PixelRect& at, const Bitmap24& face,
                 const ButtonBackground& background, bool opaqueButtons) {
    const ChannelTables& tables = Tables();
    Bitmap24& target = dc.pixels;
    const bool turned = dc.orientation == kOrientationLandscape;
    const Bgr buttonColor = FromColorref(button.color);
    const Bgr backgroundColor = FromColorref(background.color);
    const int intensityByte = state == STATE_NORMAL ? 2 : 1;  // red for normal, green for any other state
    const int faceColumns = turned ? face.Height() : face.Width();
    const int faceLines = turned ? face.Width() : face.Height();
    // Only the part of the face that lies on the target is composed.
    const int firstRow = std::max(0, -at.y), lastRow = std::min(at.height, target.Height() - at.y);
    const int firstColumn = std::max(0, -at.x);
    const int lastColumn = std::min({at.width, faceColumns, target.Width() - at.x});
    const int step = turned ? face.Stride() : 3;
    for (int i = firstRow; i < lastRow; ++i) {
        const int faceLine = turned ? at.height - 1 - i : i;
        if (faceLine < 0 || faceLine >= faceLines) continue;
        const int ty = at.y + i;
        const std::uint8_t* facePixel = turned ? face.Pixel(faceLine, firstColumn) : face.Pixel(firstColumn, faceLine);
        std::uint8_t* out = target.Pixel(at.x + firstColumn, ty);
        for (int j = firstColumn; j < lastColumn; ++j, facePixel += step, out += 3) {
            const int coverage = facePixel[0];
            if (coverage == 0) continue;
            const Bgr* under = &backgroundColor;
            const Bgr* tint = &buttonColor;
            Bgr picturePixel;
            if (background.picture != nullptr) {
                if (const std::uint8_t* p = PicturePixelUnder(*background.picture, dc.orientation, at.x + j, ty)) {
                    picturePixel = FromPixel(p);
                    under = &picturePixel;
                }
                if (!opaqueButtons) tint = under;
            }
            const std::uint8_t* shade = tables.shade[facePixel[intensityByte]];
            const std::uint8_t* keep = tables.portion[255 - coverage];
            const std::uint8_t* cover = tables.portion[coverage];
            for (int c = 0; c < 3; ++c) {
                out[c] = std::uint8_t(keep[under->channel[c]] + cover[shade[tint->channel[c]]]);
            }
        }
    }
}

void DrawCaption(const FaceButton& button, DeviceContext& dc, const PixelRect& at) {
    const Bitmap24* box = button.library->Bitmap(kCaptionBoxBitmap);
    if (box == nullptr) return;
    const int dx = button.captionSide < 0 ? kCaptionBoxLeftSideDx : kCaptionBoxRightSideDx;
    const int dy = kCaptionBoxDy;
    const bool writeText = dc.text != nullptr && !button.caption.empty();
    const PixelRect textRect{2, 2, box->Width() - 3, box->Height() - 3};
    if (dc.orientation == kOrientationPortrait) {
        BlitBitmap(dc.pixels, at.x + dx, at.y + dy, *box, RasterOp::Copy);
        if (writeText) {
            dc.text->DrawCaption(dc.pixels,
                                 {at.x + dx + textRect.x, at.y + dy + textRect.y, textRect.width, textRect.height},
                                 button.caption);
        }
        return;
    }
    // In landscape the text is written on the box before it is turned, so it runs along the turned box.
    Bitmap24 composed = *box;
    if (writeText) dc.text->DrawCaption(composed, textRect, button.caption);
    const int turnedDy = button.captionSide < 0 ? kTurnedCaptionBoxLeftSideDy : kTurnedCaptionBoxRightSideDy;
    RotatedBlt(dc.pixels, at.x + kTurnedCaptionBoxDx, at.y + turnedDy, box->Height(), box->Width(), composed,
               RasterOp::Copy);
}

}  // namespace

int ScreenOrientation(int verticalResolutionPx) {
    if (verticalResolutionPx == 320) return kOrientationPortrait;
    if (verticalResolutionPx == 240) return kOrientationLandscape;
    return kOrientationUnknown;
}

PixelRect OrientedRect(const PixelRect& portrait, int orientation) {
    switch (orientation) {
        case kOrientationPortrait:
            return portrait;
        case kOrientationLandscape:
            return {portrait.y, kPortraitWidthPx - portrait.x - portrait.width, portrait.height, portrait.width};
        default:
            return {};
    }
}

void FaceButton::Create(const ButtonArtwork* buttonLibrary, handheld::HWND panelWindow, std::u16string_view buttonName,
                        int left, int top, int initialState, std::u16string_view skin, bool sizeFromFace) {
    library = buttonLibrary;
    window = panelWindow;
    name = buttonName;
    x = left;
    y = top;
    width = 0;
    height = 0;
    state = initialState;
    sizeFromBitmap = sizeFromFace;
    skinName = skin;
    shapeName = skin.starts_with(kFlatPrefix) ? skin.substr(kFlatPrefix.size()) : skin;
    captionSide = shapeName == u"F_LEFT" ? -1 : shapeName == u"F_RIGHT" ? 1 : 0;
    caption.clear();
    label.clear();
    moving = false;
    labelOffset = {0, 0};
}

void FaceButton::Measure() {
    if (library == nullptr) return;
    if (sizeFromBitmap && !skinName.empty()) {
        if (const Bitmap24* face = library->Bitmap(skinName)) {
            width = face->Width();
            height = face->Height();
        }
    }
    const auto points = library->Points(shapeName);
    labelOffset = points ? std::array<std::int32_t, 2>{(*points)[0], (*points)[1]} : std::array<std::int32_t, 2>{0, 0};
}

int ShadeChannel(int intensity, int channel) {
    if (intensity < kExactShade) return intensity * channel / kExactShade;
    return (intensity - kExactShade) * 255 / kLightRange + (255 - intensity) * channel / kLightRange;
}

int BlendChannel(int coverage, int background, int shaded) {
    return (255 - coverage) * background / 255 + coverage * shaded / 255;
}

void DrawFaceButton(const FaceButton& button, DeviceContext& dc, int state, const ButtonBackground& background,
                    bool opaqueButtons, int labelRotation) {
    const int drawState = state == 0 ? button.state : state;
    const bool known = dc.orientation == kOrientationPortrait || dc.orientation == kOrientationLandscape;
    const PixelRect at = OrientedRect(button.GetRect(), dc.orientation);
    if (known && button.library != nullptr && !button.skinName.empty()) {
        if (const Bitmap24* face = button.library->Bitmap(button.skinName)) {
            ComposeFace(button, dc, drawState, at, *face, background, opaqueButtons);
        }
    }
    if (!button.label.empty()) {
        DrawButtonLabel(button, dc, drawState, labelRotation, button.label + std::u16string(kMaskSuffix),
                        RasterOp::And);
        DrawButtonLabel(button, dc, drawState, labelRotation, button.label, RasterOp::Invert);
    }
    if (known && button.captionSide != 0 && button.library != nullptr) DrawCaption(button, dc, at);
}

void DrawButtonLabel(const FaceButton& button, DeviceContext& dc, int state, int labelRotation,
                     std::u16string_view bitmapName, RasterOp op) {
    if (button.library == nullptr || bitmapName.empty()) return;
    const Bitmap24* picture = button.library->Bitmap(bitmapName);
    if (picture == nullptr) return;
    const bool landscape = dc.orientation == kOrientationLandscape;
    int dx = 0, dy = 0;
    if (const auto points = button.library->Points(button.shapeName)) {
        dx = (*points)[landscape ? 2 : 0];
        dy = (*points)[landscape ? 3 : 1];
    }
    int anchorX = 0, anchorY = 0;
    if (dc.orientation == kOrientationPortrait || landscape) {
        const PixelRect at = OrientedRect(button.GetRect(), dc.orientation);
        anchorX = at.x;
        anchorY = at.y;
    }
    const int shift = (state == 0 ? button.state : state) == STATE_PRESSED ? 1 : 0;

    Bitmap24 turned;
    const Bitmap24* drawn = picture;
    switch (labelRotation) {
        case 1:
            turned = TurnClockwise(*picture);
            break;
        case 2:
            turned = TurnHalf(*picture);
            break;
        case 3:
            turned = TurnCounterClockwise(*picture);
            break;
        default:
            break;
    }
    if (!turned.Empty()) drawn = &turned;
    BlitBitmap(dc.pixels, anchorX + dx - drawn->Width() / 2 + shift, anchorY + dy - drawn->Height() / 2 + shift, *drawn,
               op);
}

bool HitTestButton(const FaceButton& button, int px, int py) {
    // The right and bottom edges lie outside the face bitmap.
    if (px < button.x || py < button.y || px >= button.x + button.width || py >= button.y + button.height) return false;
    if (button.library == nullptr || button.skinName.empty()) return false;
    const Bitmap24* face = button.library->Bitmap(button.skinName);
    if (face == nullptr || !face->Contains(px - button.x, py - button.y)) return false;
    return face->Pixel(px - button.x, py - button.y)[0] > 0;
}
