#include "handheld/shell/fonts.h"

#include <QStringList>
#include <algorithm>

namespace handheld {

namespace {
// The stand-in faces are wider than the handheld's own, so their characters are drawn at ten
// thirteenths of the cell: texts then fit the pixel places the dialogs give them, as on the handheld.
constexpr int kCharacterPerCellNumerator = 10;
constexpr int kCharacterPerCellDenominator = 13;
}  // namespace

QFont HandheldFont(const QString& family, int cellHeightPx, bool bold) {
    static const bool substituted = [] {
        QFont::insertSubstitutions(
            QStringLiteral("Tahoma"),
            QStringList{QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
                        QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
        return true;
    }();
    (void)substituted;
    QFont font(family);
    font.setPixelSize(std::max(1, (cellHeightPx * kCharacterPerCellNumerator + kCharacterPerCellDenominator / 2) /
                                      kCharacterPerCellDenominator));
    font.setBold(bold);
    return font;
}

QFont DialogFont(int cellHeightPx, bool bold) {
    return HandheldFont(QStringLiteral("Tahoma"), cellHeightPx, bold);
}

}  // namespace handheld
