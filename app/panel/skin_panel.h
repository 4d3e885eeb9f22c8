// A remote panel: the ordered list of skin buttons that make up a device's face, and the background they
// stand on, a solid colour or a picture held as a 240 x 270 buffer. The list order is the drawing order, so
// the last button is the topmost for drawing and for taps. Button names compare exactly; the first of
// several alike is the one found, changed and removed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/panel/bitmap24.h"
#include "app/panel/face_button.h"
#include "handheld/types.h"

inline constexpr int kPictureWidthPx = 240;
inline constexpr int kPictureHeightPx = 270;
inline constexpr std::uint32_t kDefaultPanelColor = 0x00C8C8C8;
inline constexpr std::uint32_t kEditModeColor = 0x00FFFFFF;

struct SkinPanel {
    std::vector<FaceButton> buttons;
    std::uint32_t backgroundColor = kDefaultPanelColor;
    handheld::HWND window = nullptr;
    std::optional<Bitmap24> pictureBits;  // kPictureWidthPx x kPictureHeightPx while a picture is loaded
    bool opaqueButtons = true;
    std::int32_t labelRotation = 0;

    void SetBackgroundColor(std::uint32_t colorref) { backgroundColor = colorref; }
    void SetTransparentButtons(bool on) { opaqueButtons = !on; }
    void SetLabelRotation(std::int32_t value) { labelRotation = value; }
    void FreePicture() { pictureBits.reset(); }

    // The topmost button whose face covers the portrait point; empty when none.
    std::u16string ButtonNameAt(int px, int py) const;
    FaceButton* FindButton(std::u16string_view name);
    const FaceButton* FindButton(std::u16string_view name) const;
    void SetButtonCaption(std::u16string_view name, std::u16string_view text);
    bool RemoveButton(std::u16string_view name);
    // Marks the button as moving and makes it the topmost.
    bool BringToFront(std::u16string_view name);
    // Appends a copy; with makeUniqueName the copy is first named "CUSTOM$" + the smallest free number.
    void AddButton(const FaceButton& button, bool makeUniqueName);
    void Clear() { buttons.clear(); }
};

// Paints the whole panel onto dc: composed off-screen (background, then every button that shows in the
// client area, in list order) and copied in one block. Edit mode (normalMode false) shows white, no picture.
void PaintPanel(const SkinPanel& panel, DeviceContext& dc, bool normalMode);
// Draws the first button of that name straight onto dc in state, over the background of normal mode.
void RedrawButton(const SkinPanel& panel, DeviceContext& dc, int state, std::u16string_view name);

// A decoded picture stretched onto the panel's picture buffer from row 1 on: row 0 stays black and the
// stretched picture's last row falls outside.
Bitmap24 StretchIntoPicture(const Bitmap24& decoded);
