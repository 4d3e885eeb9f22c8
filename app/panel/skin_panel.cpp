#include "app/panel/skin_panel.h"

#include <algorithm>
#include <string>

namespace {

// The picture starts one row down on the panel.
constexpr int kPictureTopRow = 1;

ButtonBackground NormalBackground(const SkinPanel& panel) {
    return {panel.backgroundColor, panel.pictureBits ? &*panel.pictureBits : nullptr};
}

}  // namespace

std::u16string SkinPanel::ButtonNameAt(int px, int py) const {
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) {
        if (HitTestButton(*it, px, py)) return it->name;
    }
    return {};
}

FaceButton* SkinPanel::FindButton(std::u16string_view name) {
    const auto it = std::find_if(buttons.begin(), buttons.end(), [&](const FaceButton& b) { return b.name == name; });
    return it == buttons.end() ? nullptr : &*it;
}

const FaceButton* SkinPanel::FindButton(std::u16string_view name) const {
    return const_cast<SkinPanel*>(this)->FindButton(name);
}

void SkinPanel::SetButtonCaption(std::u16string_view name, std::u16string_view text) {
    if (FaceButton* button = FindButton(name)) button->caption = text;
}

bool SkinPanel::RemoveButton(std::u16string_view name) {
    FaceButton* button = FindButton(name);
    if (button == nullptr) return false;
    buttons.erase(buttons.begin() + (button - buttons.data()));
    return true;
}

bool SkinPanel::BringToFront(std::u16string_view name) {
    FaceButton* button = FindButton(name);
    if (button == nullptr) return false;
    button->moving = true;
    FaceButton moved = *button;
    buttons.erase(buttons.begin() + (button - buttons.data()));
    buttons.push_back(std::move(moved));
    return true;
}

void SkinPanel::AddButton(const FaceButton& button, bool makeUniqueName) {
    FaceButton copy = button;
    if (makeUniqueName) {
        for (unsigned n = 0;; ++n) {
            std::u16string candidate = u"CUSTOM$";
            for (char digit : std::to_string(n)) candidate += char16_t(digit);
            if (FindButton(candidate) == nullptr) {
                copy.name = std::move(candidate);
                break;
            }
        }
    }
    buttons.push_back(std::move(copy));
}

void PaintPanel(const SkinPanel& panel, DeviceContext& dc, bool normalMode) {
    const int width = dc.pixels.Width(), height = dc.pixels.Height();
    Bitmap24 composed(width, height);
    const bool landscape = dc.orientation == kOrientationLandscape;
    const bool showPicture = normalMode && panel.pictureBits;
    if (!showPicture) {
        composed.Fill(normalMode ? panel.backgroundColor : kEditModeColor);
    } else if (landscape) {
        RotatedBlt(composed, 0, 0, width, height, *panel.pictureBits, RasterOp::Copy);
    } else {
        BlitBitmap(composed, 0, 0, width, height, *panel.pictureBits, 0, 0, RasterOp::Copy);
    }

    const ButtonBackground background = normalMode ? NormalBackground(panel) : ButtonBackground{kEditModeColor};
    DeviceContext offscreen{composed, dc.orientation, dc.text};
    const PixelRect client{0, 0, width, height};
    for (const FaceButton& button : panel.buttons) {
        // The button's place as this screen shows it: a landscape panel is wider than a portrait one.
        const PixelRect shown = landscape ? OrientedRect(button.GetRect(), dc.orientation) : button.GetRect();
        if (!shown.Intersects(client)) continue;
        DrawFaceButton(button, offscreen, 0, background, panel.opaqueButtons, panel.labelRotation);
    }
    BlitBitmap(dc.pixels, 0, 0, composed, RasterOp::Copy);
}

void RedrawButton(const SkinPanel& panel, DeviceContext& dc, int state, std::u16string_view name) {
    const FaceButton* button = panel.FindButton(name);
    if (button == nullptr) return;
    DrawFaceButton(*button, dc, state, NormalBackground(panel), panel.opaqueButtons, panel.labelRotation);
}

Bitmap24 StretchIntoPicture(const Bitmap24& decoded) {
    Bitmap24 picture(kPictureWidthPx, kPictureHeightPx);
    if (decoded.Empty()) return picture;
    // Nearest source pixel for every target pixel, as a stretching block copy does.
    for (int row = kPictureTopRow; row < kPictureHeightPx; ++row) {
        const int sourceRow = (row - kPictureTopRow) * decoded.Height() / kPictureHeightPx;
        for (int column = 0; column < kPictureWidthPx; ++column) {
            const int sourceColumn = column * decoded.Width() / kPictureWidthPx;
            std::copy_n(decoded.Pixel(sourceColumn, sourceRow), 3, picture.Pixel(column, row));
        }
    }
    return picture;
}
