#include "app/panel/background_picture.h"

#include <QBuffer>
#include <QImageReader>

#include "app/panel/qt_pixels.h"
#include "handheld/files.h"
#include "handheld/owners.h"

namespace {

// The decoder's largest picture: the panel less the 28 rows the original frame kept for itself.
constexpr int kDecodedMaxWidthPx = 240;
constexpr int kDecodedMaxHeightPx = 242;
// Bytes pulled from the file per read, as the decoder asks for them.
constexpr handheld::DWORD kReadChunkBytes = 4096;
// A picture file larger than this is not a background picture for a 240-pixel screen.
constexpr qsizetype kMaxPictureFileBytes = 64 * 1024 * 1024;

}  // namespace

bool ReadPictureFile(std::u16string_view path, QByteArray& bytes) {
    const std::u16string name(path);
    handheld::UniqueHandle file(handheld::CreateFileW(name.c_str(), handheld::GENERIC_READ, handheld::FILE_SHARE_READ,
                                                      nullptr, handheld::OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    char chunk[kReadChunkBytes];
    for (;;) {
        handheld::DWORD read = 0;
        if (!handheld::ReadFile(file.get(), chunk, kReadChunkBytes, &read, nullptr)) return false;
        if (read == 0) return true;
        if (bytes.size() + qsizetype(read) > kMaxPictureFileBytes) return false;
        bytes.append(chunk, qsizetype(read));
    }
}

Bitmap24 DecodeBackgroundPicture(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (format != "bmp" && format != "jpeg" && format != "gif") return {};
    const QSize limit(kDecodedMaxWidthPx, kDecodedMaxHeightPx);
    const QSize size = reader.size();
    // Larger pictures are scaled down while decoding, keeping their shape; smaller ones stay as they are.
    if (size.isValid() && (size.width() > limit.width() || size.height() > limit.height())) {
        reader.setScaledSize(size.scaled(limit, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    QImage image = reader.read();
    if (image.isNull()) return {};
    if (image.width() > limit.width() || image.height() > limit.height()) {
        image = image.scaled(limit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return StretchIntoPicture(BitmapFromImage(image));
}

bool LoadBackgroundPicture(SkinPanel& panel, handheld::HWND window, std::u16string_view path) {
    panel.FreePicture();
    if (window == nullptr || path.empty()) return false;
    QByteArray bytes;
    if (!ReadPictureFile(path, bytes)) return false;
    Bitmap24 picture = DecodeBackgroundPicture(bytes);
    if (picture.Empty()) return false;
    panel.pictureBits = std::move(picture);
    return true;
}
