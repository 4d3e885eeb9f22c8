// The corner picture: a tap on the main window's top-left corner shows a picture stored in the program,
// framed and centred on the screen, until the next tap.
#pragma once

#include <QImage>
#include <cstddef>
#include <string>

#include "handheld/shell/handheld_dialog.h"

extern const unsigned char kPopupPictureBytes[];
extern const std::size_t kPopupPictureSize;
inline constexpr int kPopupPictureSidePx = 180;

// The tap that opens the pop-up: x and y at most 1 in the main window.
inline bool IsPicturePopupCorner(int x, int y) {
    return x <= 1 && y <= 1;
}

class PicturePopup : public handheld::HandheldDialog {
    Q_OBJECT
public:
    PicturePopup(QWidget* owner, QImage picture);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void OnScreenTurned(handheld::Orientation) override { Place(); }

private:
    void Place();
    QImage picture_;
};

// Writes the stored picture to a new temporary file in "\Windows" (never over an existing one), decodes it
// and removes the file again, whether the write or the decoding worked or not. Null on any failure.
QImage DecodeStoredPicture();
// The temporary file's name for two random numbers: "\windows\" r2 "." (r1 mod 4095), upper-case hexadecimal.
std::u16string PopupTemporaryPath(unsigned r1, unsigned r2);

// Shows the pop-up over the main window; false, showing nothing, when the picture cannot be made.
bool ShowPicturePopup(QWidget* mainWindow);
