// The bitmaps the viewer windows draw: a model image turned into a platform image of one of three kinds, each
// kind with its fixed palette.
#pragma once

// The model before Qt: a model field is named like one of Qt's keyword macros.
#include "ccf/model/ccf_bitmap.h"
// Then Qt.
#include <QColor>
#include <QImage>
#include <cstdint>
#include <memory>

class CCFBitmap {
public:
    virtual ~CCFBitmap() = default;
    // The palette colour of an index (0x00BBGGRR); black for 0 and for an index past the kind's entries.
    virtual std::uint32_t GetColor(std::uint8_t index) const = 0;
    QColor Color(std::uint8_t index) const;
    CCFBitmapKind Kind() const { return kind_; }
    // Null when the bitmap has no pixels (a colour set without an image).
    const QImage& Image() const { return image_; }
    const CCFImage* Source() const { return source_; }

protected:
    CCFBitmap(CCFBitmapKind kind, const CCFImage* source, QImage image)
        : kind_(kind), source_(source), image_(std::move(image)) {}

private:
    CCFBitmapKind kind_;
    const CCFImage* source_;
    QImage image_;
};

class CCFBitmap2 : public CCFBitmap {
public:
    CCFBitmap2(const CCFImage* source, QImage image) : CCFBitmap(CCFBitmapKind::kBitmap2, source, std::move(image)) {}
    std::uint32_t GetColor(std::uint8_t index) const override;
};
class CCFBitmap4 : public CCFBitmap {
public:
    CCFBitmap4(const CCFImage* source, QImage image) : CCFBitmap(CCFBitmapKind::kBitmap4, source, std::move(image)) {}
    std::uint32_t GetColor(std::uint8_t index) const override;
};
class CCFBitmap256 : public CCFBitmap {
public:
    CCFBitmap256(const CCFImage* source, QImage image)
        : CCFBitmap(CCFBitmapKind::kBitmap256, source, std::move(image)) {}
    std::uint32_t GetColor(std::uint8_t index) const override;
};

// The bitmap of an image and colour set (either may be null); null when there is neither.
std::unique_ptr<CCFBitmap> CCFMakeBitmap(CCFImage* image, const CCFColorSet* colors);
// A 0x00BBGGRR colour reference as a Qt colour.
QColor CCFColorRef(std::uint32_t colorRef);
