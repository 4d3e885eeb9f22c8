// The artwork of the viewer's control strip, drawn once per process at the sizes the strip places it.
#pragma once

#include <QPixmap>

// Resource identifiers of the strip's bitmaps.
enum CCFStripBitmap : int {
    kCCFBitmapDeviceCollapsed = 1004,
    kCCFBitmapDeviceExpanded = 1005,
    kCCFBitmapHomeNormal = 1006,
    kCCFBitmapHomePressed = 1007,
    kCCFBitmapMacroCollapsed = 1008,
    kCCFBitmapMacroExpanded = 1009,
};

// The bitmap of an identifier; a null pixmap for any other number.
const QPixmap& CCFStripArt(int bitmapId);
