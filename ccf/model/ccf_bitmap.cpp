#include "ccf/model/ccf_bitmap.h"

#include <cstring>

namespace {

constexpr std::uint32_t FromRgb(std::uint32_t rrggbb) {
    return ((rrggbb & 0xFF) << 16) | (rrggbb & 0xFF00) | ((rrggbb >> 16) & 0xFF);
}

// The 256-colour table as the format's files expect it, in RRGGBB. It is mostly the 6 x 6 x 6 colour cube,
// but a few entries differ (27, 60, 142, 165) and must stay as they are: files were drawn against them.
// clang-format off
constexpr std::uint32_t kTable256Rgb[256] = {
    0x000000, 0x330000, 0x660000, 0x990000, 0xCC0000, 0xFF0000, 0x003300, 0x333300,  // 0
    0x663300, 0x993300, 0xCC3300, 0xFF3300, 0x006600, 0x336600, 0x666600, 0x996600,  // 8
    0xCC6600, 0xFF6600, 0x009900, 0x339900, 0x669900, 0x999900, 0xCC9900, 0xFF9900,  // 16
    0x00CC00, 0x33CC00, 0x66CC00, 0x99CB00, 0xCCCC00, 0xFFCC00, 0x00FF00, 0x33FF00,  // 24
    0x66FF00, 0x99FF00, 0xCCFF00, 0xFFFF00, 0x000033, 0x330033, 0x660033, 0x990033,  // 32
    0xCC0033, 0xFF0033, 0x003333, 0x333333, 0x663333, 0x993333, 0xCC3333, 0xFF3333,  // 40
    0x006633, 0x336633, 0x666633, 0x996633, 0xCC6633, 0xFF6633, 0x009933, 0x339933,  // 48
    0x669933, 0x999933, 0xCC9933, 0xFF9933, 0x33CC00, 0x33CC33, 0x66CC33, 0x99CC33,  // 56
    0xCCCC33, 0xFFCC33, 0x00FF33, 0x33FF33, 0x66FF33, 0x99FF33, 0xCCFF33, 0xFFFF33,  // 64
    0x000066, 0x330066, 0x660066, 0x990066, 0xCC0066, 0xFF0066, 0x003366, 0x333366,  // 72
    0x663366, 0x993366, 0xCC3366, 0xFF3366, 0x006666, 0x336666, 0x666666, 0x996666,  // 80
    0xCC6666, 0xFF6666, 0x009966, 0x339966, 0x669966, 0x999966, 0xCC9966, 0xFF9966,  // 88
    0x00CC66, 0x33CC66, 0x66CC66, 0x99CC66, 0xCCCC66, 0xFFCC66, 0x00FF66, 0x33FF66,  // 96
    0x66FF66, 0x99FF66, 0xCCFF66, 0xFFFF66, 0x000099, 0x330099, 0x660099, 0x990099,  // 104
    0xCC0099, 0xFF0099, 0x003399, 0x333399, 0x663399, 0x993399, 0xCC3399, 0xFF3399,  // 112
    0x006699, 0x336699, 0x666699, 0x996699, 0xCC6699, 0xFF6699, 0x009999, 0x339999,  // 120
    0x669999, 0x999999, 0xCC9999, 0xFF9999, 0x00CC99, 0x33CC99, 0x66CC99, 0x99CC99,  // 128
    0xCCCC99, 0xFFCC99, 0x00FF99, 0x33FF99, 0x66FF99, 0x99FF99, 0x99FFCC, 0xFFFF99,  // 136
    0x0000CC, 0x3300CC, 0x6600CC, 0x9900CC, 0xCC00CC, 0xFF00CC, 0x0033CC, 0x3333CC,  // 144
    0x6633CC, 0x9933CC, 0xCC33CC, 0xFF33CC, 0x0066CC, 0x3366CC, 0x6666CC, 0x9966CC,  // 152
    0xCC66CC, 0xFF66CC, 0x0099CC, 0x3399CC, 0x6699CC, 0xCC99CC, 0xCC99CC, 0xFF99CC,  // 160
    0x00CCCC, 0x33CCCC, 0x66CCCC, 0x99CCCC, 0xCCCCCC, 0xFFCCCC, 0x00FFCC, 0x33FFCC,  // 168
    0x66FFCC, 0x99FFCC, 0xCCFFCC, 0xFFFFCC, 0x0000FF, 0x3300FF, 0x6600FF, 0x9900FF,  // 176
    0xCC00FF, 0xFF00FF, 0x0033FF, 0x3333FF, 0x6633FF, 0x9933FF, 0xCC33FF, 0xFF33FF,  // 184
    0x0066FF, 0x3366FF, 0x6666FF, 0x9966FF, 0xCC66FF, 0xFF66FF, 0x0099FF, 0x3399FF,  // 192
    0x6699FF, 0x9999FF, 0xCC99FF, 0xFF99FF, 0x00CCFF, 0x33CCFF, 0x66CCFF, 0x99CCFF,  // 200
    0xCCCCFF, 0xFFCCFF, 0x00FFFF, 0x33FFFF, 0x66FFFF, 0x99FFFF, 0xCCFFFF, 0xFFFFFF,  // 208
    0xC0D0F0, 0x90B0F0, 0x7090D0, 0x5070D0, 0x3060E0, 0x4050E0, 0x2040C0, 0x2030B0,  // 216
    0xA0A0D0, 0x7070A0, 0x505090, 0x304090, 0x303080, 0x202070, 0x101070, 0x101050,  // 224
    0xD0B0D0, 0xB090B0, 0x908090, 0xA080A0, 0x908090, 0x907090, 0x807080, 0x806080,  // 232
    0xFFFFFF, 0xF0F0F0, 0xE0E0E0, 0xD0D0D0, 0xC0C0C0, 0xB0B0B0, 0xA0A0A0, 0x909090,  // 240
    0x808080, 0x707070, 0x606060, 0x505050, 0x404040, 0x303030, 0x202020, 0x101010,  // 248
};
// clang-format on

constexpr std::uint32_t kGrey4Rgb[4] = {0x000000, 0x505050, 0xB0B0B0, 0xFFFFFF};

struct Palettes {
    CCFPalette black{};
    CCFPalette two{};
    CCFPalette four{};
    CCFPalette full{};
    Palettes() {
        two[1] = FromRgb(0xFFFFFF);
        for (int i = 0; i < 4; ++i) four[i] = FromRgb(kGrey4Rgb[i]);
        for (int i = 0; i < 256; ++i) full[i] = FromRgb(kTable256Rgb[i]);
    }
};

const Palettes& AllPalettes() {
    static const Palettes palettes;
    return palettes;
}

}  // namespace

const CCFPalette& CCFPaletteOf(CCFBitmapKind kind) {
    const Palettes& p = AllPalettes();
    switch (kind) {
        case CCFBitmapKind::kBitmap2:
            return p.two;
        case CCFBitmapKind::kBitmap4:
            return p.four;
        case CCFBitmapKind::kBitmap256:
            return p.full;
        case CCFBitmapKind::kNone:
            break;
    }
    return p.black;
}

std::uint32_t CCFGetColor(CCFBitmapKind kind, std::uint8_t index) {
    return index == 0 ? 0 : CCFPaletteOf(kind)[index];
}

CCFBitmapKind CCFChooseBitmapKind(const CCFImage* image, const CCFColorSet* colors) {
    const std::uint16_t count = image ? image->ColorCount() : colors ? colors->ColorCount() : 0;
    switch (count) {
        case 2:
            return image ? CCFBitmapKind::kBitmap2 : CCFBitmapKind::kNone;
        case 4:
            return CCFBitmapKind::kBitmap4;
        case 256:
            return CCFBitmapKind::kBitmap256;
        default:
            return CCFBitmapKind::kNone;
    }
}

CCFBitmapPixels CCFMakeBitmapPixels(CCFImage* image, const CCFColorSet* colors) {
    CCFBitmapPixels bitmap;
    bitmap.kind = CCFChooseBitmapKind(image, colors);
    if (image == nullptr || image->width == 0 || image->height == 0) return bitmap;
    image->Decode();
    bitmap.width = image->width;
    bitmap.height = image->height;
    bitmap.stride = (bitmap.width + 3) & ~3;
    bitmap.indices.assign(std::size_t(bitmap.stride) * bitmap.height, 0);
    for (int y = 0; y < bitmap.height; ++y) {
        std::memcpy(bitmap.indices.data() + std::size_t(y) * bitmap.stride,
                    image->pixels.data() + std::size_t(y) * bitmap.width, bitmap.width);
    }
    return bitmap;
}
