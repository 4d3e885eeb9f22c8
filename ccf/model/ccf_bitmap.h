// The three bitmap kinds of the viewer, their fixed palettes, and the pixel block a bitmap shows. Plain data:
// the viewer turns a CCFBitmapPixels into a drawable bitmap.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ccf/model/ccf_model.h"

// Which bitmap kind a button state or frame draws with; named after the size of its palette.
enum class CCFBitmapKind { kNone, kBitmap2, kBitmap4, kBitmap256 };

// Colours 0x00BBGGRR; 256 entries in every kind, those a kind does not list are black.
using CCFPalette = std::array<std::uint32_t, 256>;

const CCFPalette& CCFPaletteOf(CCFBitmapKind kind);
// The colour of a palette index in a kind; index 0, an index past the kind's entries and kNone give black.
std::uint32_t CCFGetColor(CCFBitmapKind kind, std::uint8_t index);
// An image decides the kind by its colour count; without one the colour set does (and there are no pixels);
// with neither there is no bitmap.
CCFBitmapKind CCFChooseBitmapKind(const CCFImage* image, const CCFColorSet* colors);

// Palette indices, top row first, each row padded to a multiple of 4 bytes as the platform's bitmaps keep it.
struct CCFBitmapPixels {
    CCFBitmapKind kind = CCFBitmapKind::kNone;
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<std::uint8_t> indices;  // empty when the bitmap has no pixels

    bool HasPixels() const { return !indices.empty(); }
    std::uint8_t At(int x, int y) const { return indices[std::size_t(y) * stride + std::size_t(x)]; }
};

// The bitmap a state draws: its kind, and the image's pixels (decoding the image on first use).
CCFBitmapPixels CCFMakeBitmapPixels(CCFImage* image, const CCFColorSet* colors);
