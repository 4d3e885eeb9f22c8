#include "app/dialogs/picture_popup.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <cstdio>
#include <random>

#include "app/panel/background_picture.h"
#include "handheld/files.h"
#include "handheld/owners.h"
#include "handheld/shell/screen.h"
#include "handheld/system.h"

namespace {

constexpr int kPopupSidePx = kPopupPictureSidePx + 2;  // the picture in a one-pixel border
constexpr int kDecoderMaxSidePx = 1024;
// Names already taken are passed over; after this many the pop-up gives up.
constexpr int kNameAttempts = 16;

// The new file holds the stored bytes; false when it could not be written whole.
bool WriteNewFile(const std::u16string& path) {
    handheld::UniqueHandle file(
        handheld::CreateFileW(path.c_str(), handheld::GENERIC_WRITE, 0, nullptr, handheld::CREATE_NEW, 0, nullptr));
    if (!file) return false;
    handheld::DWORD written = 0;
    return handheld::WriteFile(file.get(), kPopupPictureBytes, static_cast<handheld::DWORD>(kPopupPictureSize),
                               &written, nullptr) &&
           written == kPopupPictureSize;
}

QImage Decode(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.width() > kDecoderMaxSidePx || size.height() > kDecoderMaxSidePx) {
        reader.setScaledSize(size.scaled(kDecoderMaxSidePx, kDecoderMaxSidePx, Qt::KeepAspectRatio));
    }
    return reader.read().convertToFormat(QImage::Format_RGB888);
}

}  // namespace

std::u16string PopupTemporaryPath(unsigned r1, unsigned r2) {
    char name[32];
    std::snprintf(name, sizeof name, "\\windows\\%X.%X", r2, r1 % 4095);
    return std::u16string(name, name + std::char_traits<char>::length(name));
}

QImage DecodeStoredPicture() {
    std::minstd_rand random(handheld::GetTickCount());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const unsigned r1 = static_cast<unsigned>(random());
        const unsigned r2 = static_cast<unsigned>(random());
        const std::u16string path = PopupTemporaryPath(r1, r2);
        if (handheld::GetFileAttributesW(path.c_str()) != handheld::INVALID_FILE_ATTRIBUTES) continue;
        const bool written = WriteNewFile(path);
        QByteArray bytes;
        const bool read = written && ReadPictureFile(path, bytes);
        // Also a half-written file goes, so no failure leaves anything behind in "\Windows".
        handheld::DeleteFileW(path.c_str());
        if (!read) return {};
        return Decode(bytes);
    }
    return {};
}

PicturePopup::PicturePopup(QWidget* owner, QImage picture)
    : HandheldDialog(owner, 0, {}), picture_(std::move(picture)) {
    setObjectName(QStringLiteral("PicturePopup"));
    Place();
}

void PicturePopup::Place() {
    const QSize screen = handheld::ScreenSize(CurrentLayout());
    setGeometry((screen.width() - kPopupPictureSidePx + 2) / 2, (screen.height() - kPopupPictureSidePx + 2) / 2,
                kPopupSidePx, kPopupSidePx);
}

void PicturePopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, kPopupSidePx - 1, kPopupSidePx - 1);
    painter.drawImage(1, 1, picture_, 0, 0, kPopupPictureSidePx, kPopupPictureSidePx);
}

void PicturePopup::mousePressEvent(QMouseEvent*) {
    accept();
}

bool ShowPicturePopup(QWidget* mainWindow) {
    QImage picture = DecodeStoredPicture();
    if (picture.isNull()) return false;
    PicturePopup popup(mainWindow, std::move(picture));
    popup.Run();
    return true;
}
