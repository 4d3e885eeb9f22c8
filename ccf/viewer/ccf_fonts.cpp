#include "ccf/viewer/ccf_fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <array>

#include "handheld/shell/fonts.h"

namespace {

// The face loaded from its file, so that captions look the same on every machine; where the file is missing
// the handheld's own stand-in face is used.
QString CCFFamily() {
    static const QString family = [] {
        for (const char* path : {"/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf",
                                 "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"}) {
            const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(path));
            if (id < 0) continue;
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty()) return families.front();
        }
        return QString();
    }();
    return family;
}

QFont MakeFont(int heightPx) {
    const QString family = CCFFamily();
    if (family.isEmpty()) return handheld::HandheldFont(QStringLiteral("CCF"), heightPx);
    QFont font(family);
    font.setPixelSize(heightPx);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

}  // namespace

int CCFCaptionFontHeightPx(std::uint8_t fontCode) {
    if (fontCode < kCCFFirstFontCode || fontCode > kCCFLastFontCode) return 0;
    return 14 + 2 * (fontCode - kCCFFirstFontCode);
}

const QFont* CCFCaptionFont(std::uint8_t fontCode) {
    static const std::array<QFont, 6> fonts = [] {
        std::array<QFont, 6> made;
        for (int code = kCCFFirstFontCode; code <= kCCFLastFontCode; ++code) {
            made[code - 1] = MakeFont(CCFCaptionFontHeightPx(std::uint8_t(code)));
        }
        return made;
    }();
    if (CCFCaptionFontHeightPx(fontCode) == 0) return nullptr;
    return &fonts[fontCode - 1];
}

const QFont& CCFDefaultFont() {
    static const QFont font = handheld::DialogFont(13);
    return font;
}
