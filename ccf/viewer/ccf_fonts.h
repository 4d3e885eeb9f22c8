// The caption fonts of the viewer: the face standing for "CCF" at six heights, and the windows' default font.
#pragma once

#include <QFont>
#include <cstdint>

inline constexpr int kCCFFirstFontCode = 1;
inline constexpr int kCCFLastFontCode = 6;

// The "CCF" font of a caption font code (1-6: 14, 16 ... 24 pixels high); null for any other code.
const QFont* CCFCaptionFont(std::uint8_t fontCode);
// Pixel height of a font code's font, 0 for a code without one.
int CCFCaptionFontHeightPx(std::uint8_t fontCode);
// The font a window draws with when it selects none.
const QFont& CCFDefaultFont();
