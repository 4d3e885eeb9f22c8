// Bitmap records: the three encodings, lazy decoding, pixel access, palettes and the bitmap kinds.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ccf/model/ccf_bitmap.h"
#include "tests/ccf/ccf_test_util.h"
#include "tests/ccf/ccf_writer.h"

using namespace ccf_test;

namespace {

// A one-button file whose state-0 bitmap is the given record; returns the loaded file and the image.
struct OneImage {
    Loaded loaded;
    CCFImage* image = nullptr;
};

OneImage LoadImage(std::uint16_t width, std::uint16_t height, std::uint16_t flags,
                   const std::vector<std::uint8_t>& rows, bool color = false) {
    CCFWriter w(color, false);
    ButtonFields b;
    b.bitmaps[0] = w.RawBitmap(width, height, flags, rows, 0x1234);
    const std::uint32_t button = w.Button(b);
    w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, button, 1}})}));
    OneImage one;
    one.loaded = Load(w.Bytes());
    one.image = one.loaded.file->chains[1]->firstPanel->items[0]->button->images[0].get();
    return one;
}

TEST(CCFImage, RowLengthsOfEachEncoding) {
    struct Case {
        std::uint16_t flags;
        std::uint16_t width;
        std::uint32_t rowBytes;
        std::uint16_t colors;
    };
    const Case cases[] = {
        {0x0000, 9, 2, 2},   {0x0000, 8, 1, 2},   {0x0000, 1, 1, 2},  {0x0100, 9, 4, 4},
        {0x0100, 4, 2, 4},   {0x0100, 8, 2, 4},   {0x0100, 13, 4, 4}, {0x0100, 17, 6, 4},
        {0x0001, 9, 9, 256}, {0x0101, 9, 9, 256}, {0x8100, 9, 4, 4},  {0xFEFE, 9, 2, 2},
    };
    for (const Case& c : cases) {
        // Rows exactly as long as the encoding needs: one byte less makes the image absent.
        OneImage exact = LoadImage(c.width, 3, c.flags, std::vector<std::uint8_t>(c.rowBytes * 3, 0));
        ASSERT_NE(exact.image, nullptr) << c.flags << " w" << c.width;
        EXPECT_EQ(exact.image->RowBytes(), c.rowBytes) << c.flags << " w" << c.width;
        EXPECT_EQ(exact.image->ColorCount(), c.colors) << c.flags;
        EXPECT_EQ(exact.image->firstValue, 0x1234);
        EXPECT_EQ(exact.image->flagsHigh, c.flags >> 8);
    }
}

TEST(CCFImage, DecodesEveryDepthAtEveryWidth) {
    std::mt19937 random(7);
    for (int bits : {1, 2, 8}) {
        for (std::uint16_t width = 1; width <= 19; ++width) {
            const std::uint16_t height = 3;
            std::vector<std::uint8_t> pixels(width * height);
            const int mask = bits == 8 ? 255 : (1 << bits) - 1;
            for (auto& p : pixels) p = std::uint8_t(random() & mask);
            CCFWriter w(bits == 8, false);
            ButtonFields b;
            b.bitmaps[0] = w.Bitmap(bits, width, height, pixels);
            // Rows of a neighbouring record right after: a decoder reading too far would pick them up.
            w.RawBitmap(8, 8, 0x0001, std::vector<std::uint8_t>(64, 0xFF));
            const std::uint32_t button = w.Button(b);
            w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, button, 1}})}));
            Loaded loaded = Load(w.Bytes());
            CCFImage* image = loaded.file->chains[1]->firstPanel->items[0]->button->images[0].get();
            ASSERT_NE(image, nullptr);
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    ASSERT_EQ(image->GetPixel(x, y), pixels[y * width + x])
                        << bits << " bits, w" << width << " (" << x << "," << y << ")";
                }
            }
        }
    }
}

TEST(CCFImage, FlagBit15LeavesTwoBitPixelsAtZero) {
    OneImage one = LoadImage(9, 2, 0x8100, std::vector<std::uint8_t>(8, 0xFF));
    ASSERT_NE(one.image, nullptr);
    EXPECT_EQ(one.image->GetPixel(0, 0), 0);
    EXPECT_EQ(one.image->GetPixel(8, 1), 0);
    EXPECT_TRUE(one.image->IsDecoded());
    // The same rows without the flag decode to 3.
    OneImage plain = LoadImage(9, 2, 0x0100, std::vector<std::uint8_t>(8, 0xFF));
    EXPECT_EQ(plain.image->GetPixel(8, 1), 3);
}

TEST(CCFImage, TwoBitImageWithoutRowsIsBuiltEvenWhereRowsWouldRunPastTheFile) {
    // The record ends right after its header: the rows of 300 x 200 pixels would need 15200 more bytes.
    OneImage one = LoadImage(300, 200, 0x8100, {});
    ASSERT_NE(one.image, nullptr);
    EXPECT_EQ(one.loaded.stats.outsideFile, 0u);
    EXPECT_EQ(one.image->ColorCount(), 4);
    EXPECT_EQ(one.image->GetPixel(299, 199), 0);
    EXPECT_EQ(one.image->pixels.size(), 60000u);
    EXPECT_EQ(std::count(one.image->pixels.begin(), one.image->pixels.end(), 0), 60000);
    const CCFBitmapPixels bitmap = CCFMakeBitmapPixels(one.image, nullptr);
    EXPECT_EQ(bitmap.kind, CCFBitmapKind::kBitmap4);
    EXPECT_EQ(bitmap.At(150, 100), 0);

    // Images whose rows are read must still fit, and a pixel array past the heap bound is not made either.
    EXPECT_EQ(LoadImage(300, 200, 0x0100, {}).image, nullptr);
    EXPECT_EQ(LoadImage(300, 200, 0x8001, {}).image, nullptr);
    OneImage huge = LoadImage(0xFFFF, 0xFFFF, 0x8100, {});
    EXPECT_EQ(huge.image, nullptr);
    EXPECT_TRUE(huge.loaded.stats.budgetExhausted);
}

TEST(CCFImage, GetPixelOutsideReadsZeroWithoutDecoding) {
    OneImage one = LoadImage(9, 2, 0x0001, std::vector<std::uint8_t>(18, 0x77));
    CCFImage& image = *one.image;
    const std::pair<int, int> outside[] = {{9, 0}, {0, 2}, {-1, 0}, {0, -1}, {-32768, -32768}, {32767, 1}};
    for (auto [x, y] : outside) {
        EXPECT_EQ(image.GetPixel(std::int16_t(x), std::int16_t(y)), 0) << x << "," << y;
        EXPECT_FALSE(image.IsDecoded()) << x << "," << y;
        EXPECT_TRUE(image.pixels.empty());
    }
    EXPECT_EQ(image.GetPixel(8, 1), 0x77);
    EXPECT_TRUE(image.IsDecoded());
}

TEST(CCFImage, FullScreenImageHasOneBytePerPixel) {
    OneImage one = LoadImage(240, 320, 0x0000, std::vector<std::uint8_t>(30 * 320, 0xAA));
    ASSERT_NE(one.image, nullptr);
    one.image->Decode();
    EXPECT_EQ(one.image->pixels.size(), 76800u);
    EXPECT_EQ(one.image->GetPixel(0, 319), 1);
    EXPECT_EQ(one.image->GetPixel(1, 319), 0);
}

// --- palettes and bitmap kinds -------------------------------------------------------------------

std::uint32_t Rgb(std::uint32_t rrggbb) {
    return ((rrggbb & 0xFF) << 16) | (rrggbb & 0xFF00) | ((rrggbb >> 16) & 0xFF);
}

TEST(CCFPalette, FixedEntries) {
    struct Case {
        CCFBitmapKind kind;
        int index;
        std::uint32_t rrggbb;
    };
    const Case cases[] = {
        {CCFBitmapKind::kBitmap2, 0, 0x000000},     {CCFBitmapKind::kBitmap2, 1, 0xFFFFFF},
        {CCFBitmapKind::kBitmap2, 2, 0x000000},     {CCFBitmapKind::kBitmap4, 1, 0x505050},
        {CCFBitmapKind::kBitmap4, 2, 0xB0B0B0},     {CCFBitmapKind::kBitmap4, 3, 0xFFFFFF},
        {CCFBitmapKind::kBitmap4, 4, 0x000000},     {CCFBitmapKind::kBitmap256, 1, 0x330000},
        {CCFBitmapKind::kBitmap256, 5, 0xFF0000},   {CCFBitmapKind::kBitmap256, 27, 0x99CB00},
        {CCFBitmapKind::kBitmap256, 60, 0x33CC00},  {CCFBitmapKind::kBitmap256, 142, 0x99FFCC},
        {CCFBitmapKind::kBitmap256, 165, 0xCC99CC}, {CCFBitmapKind::kBitmap256, 166, 0xCC99CC},
        {CCFBitmapKind::kBitmap256, 215, 0xFFFFFF}, {CCFBitmapKind::kBitmap256, 216, 0xC0D0F0},
        {CCFBitmapKind::kBitmap256, 223, 0x2030B0}, {CCFBitmapKind::kBitmap256, 236, 0x908090},
        {CCFBitmapKind::kBitmap256, 234, 0x908090}, {CCFBitmapKind::kBitmap256, 240, 0xFFFFFF},
        {CCFBitmapKind::kBitmap256, 255, 0x101010}, {CCFBitmapKind::kNone, 1, 0x000000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CCFGetColor(c.kind, std::uint8_t(c.index)), Rgb(c.rrggbb))
            << "kind " << int(c.kind) << " index " << c.index;
    }
    for (auto kind : {CCFBitmapKind::kBitmap2, CCFBitmapKind::kBitmap4, CCFBitmapKind::kBitmap256}) {
        EXPECT_EQ(CCFGetColor(kind, 0), 0u);
        EXPECT_EQ(CCFPaletteOf(kind).size(), 256u);
    }
}

TEST(CCFPalette, ColourCubeExceptTheIrregularEntries) {
    const int irregular[] = {27, 60, 142, 165};
    const std::uint32_t levels[] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF};
    for (int i = 0; i < 216; ++i) {
        if (std::find(std::begin(irregular), std::end(irregular), i) != std::end(irregular)) continue;
        const std::uint32_t rgb = levels[i % 6] << 16 | levels[i / 6 % 6] << 8 | levels[i / 36];
        EXPECT_EQ(CCFPaletteOf(CCFBitmapKind::kBitmap256)[i], Rgb(rgb)) << "index " << i;
    }
}

TEST(CCFBitmap, KindFollowsImageThenColourSet) {
    CCFImage1Bit image2;
    CCFImage2Bit image4;
    CCFImage8Bit image256;
    CCFColorSet mono, color;
    color.color = true;
    struct Case {
        const CCFImage* image;
        const CCFColorSet* colors;
        CCFBitmapKind kind;
    };
    const Case cases[] = {
        {&image2, &color, CCFBitmapKind::kBitmap2},    {&image4, &color, CCFBitmapKind::kBitmap4},
        {&image256, &mono, CCFBitmapKind::kBitmap256}, {&image2, nullptr, CCFBitmapKind::kBitmap2},
        {nullptr, &mono, CCFBitmapKind::kBitmap4},     {nullptr, &color, CCFBitmapKind::kBitmap256},
        {nullptr, nullptr, CCFBitmapKind::kNone},
    };
    for (const Case& c : cases) EXPECT_EQ(CCFChooseBitmapKind(c.image, c.colors), c.kind);
    // Without an image there are no pixels.
    EXPECT_FALSE(CCFMakeBitmapPixels(nullptr, &mono).HasPixels());
    EXPECT_EQ(CCFMakeBitmapPixels(nullptr, &mono).kind, CCFBitmapKind::kBitmap4);
}

TEST(CCFBitmap, PixelsArePaletteIndicesInPaddedRows) {
    std::vector<std::uint8_t> pixels(9 * 2);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i * 13);
    OneImage one = LoadImage(9, 2, 0x0001, CCFWriter::EncodeRows(8, 9, 2, pixels), true);
    const CCFBitmapPixels bitmap = CCFMakeBitmapPixels(one.image, nullptr);
    EXPECT_EQ(bitmap.kind, CCFBitmapKind::kBitmap256);
    EXPECT_EQ(bitmap.stride, 12);
    ASSERT_EQ(bitmap.indices.size(), 24u);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 9; ++x) EXPECT_EQ(bitmap.At(x, y), pixels[y * 9 + x]);
        for (int x = 9; x < 12; ++x) EXPECT_EQ(bitmap.indices[y * 12 + x], 0);
    }
}

}  // namespace
