// The panel's background picture: a BMP, JPEG or GIF file decoded once within 240 x 242 pixels and
// stretched onto the panel's 240 x 270 picture buffer.
#pragma once

#include <QByteArray>
#include <string_view>

#include "app/panel/skin_panel.h"

// Frees the panel's picture, then decodes the file at the handheld path into it. False, with no picture and
// no message, when there is no window or path, or the file cannot be opened or decoded.
bool LoadBackgroundPicture(SkinPanel& panel, handheld::HWND window, std::u16string_view path);

// The bytes of a picture file, read as the decoder reads them; false when it cannot be read whole.
bool ReadPictureFile(std::u16string_view path, QByteArray& bytes);

// The decoding step alone, on bytes already read: the picture buffer, or an empty one.
Bitmap24 DecodeBackgroundPicture(const QByteArray& bytes);
