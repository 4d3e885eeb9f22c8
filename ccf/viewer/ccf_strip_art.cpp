#include "ccf/viewer/ccf_strip_art.h"

#include <QLinearGradient>
#include <QMap>
#include <QPainter>
#include <QPainterPath>

#include "ccf/viewer/ccf_fonts.h"

namespace {

// A tab of the strip: a rounded plate with a thin rim; the expanded one is lighter so the chosen list stands
// out, and a small triangle says the button opens a list.
QPixmap Tab(int width, int height, QColor top, QColor bottom, const QString& label, bool expanded) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.setPen(QColor(0x20, 0x20, 0x40));
    p.setBrush(gradient);
    p.drawRoundedRect(QRect(0, 0, width - 1, height - 1), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const int cx = expanded ? width - 10 : width / 2;
    const int cy = expanded ? height / 2 : height - 8;
    const QPoint triangle[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 3}};
    p.drawPolygon(triangle, 3);
    if (!expanded) {
        p.setPen(Qt::white);
        p.setFont(CCFDefaultFont());
        p.drawText(QRect(0, 1, width, height - 10), Qt::AlignCenter | Qt::TextSingleLine, label);
    }
    return pixmap;
}

QPixmap Home(bool pressed) {
    QPixmap pixmap(54, 22);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    QLinearGradient gradient(0, 0, 0, 22);
    gradient.setColorAt(0, pressed ? QColor(0x20, 0x40, 0x80) : QColor(0x70, 0xA0, 0xE0));
    gradient.setColorAt(1, pressed ? QColor(0x40, 0x70, 0xC0) : QColor(0x20, 0x50, 0xA0));
    p.setPen(QColor(0x20, 0x20, 0x40));
    p.setBrush(gradient);
    p.drawRoundedRect(QRect(0, 0, 53, 21), 4, 4);
    // A house: roof and body.
    const int dx = pressed ? 1 : 0;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPoint roof[3] = {{19 + dx, 11 + dx}, {27 + dx, 3 + dx}, {35 + dx, 11 + dx}};
    p.drawPolygon(roof, 3);
    p.drawRect(21 + dx, 11 + dx, 12, 7);
    p.setBrush(gradient);
    p.drawRect(25 + dx, 13 + dx, 4, 5);
    return pixmap;
}

}  // namespace

const QPixmap& CCFStripArt(int bitmapId) {
    static const QMap<int, QPixmap> art = [] {
        const QColor deviceTop(0x60, 0x90, 0xD0), deviceBottom(0x20, 0x40, 0x90);
        const QColor macroTop(0xD0, 0x90, 0x50), macroBottom(0x90, 0x40, 0x10);
        QMap<int, QPixmap> made;
        made[kCCFBitmapDeviceCollapsed] = Tab(82, 29, deviceTop, deviceBottom, QStringLiteral("Devices"), false);
        made[kCCFBitmapDeviceExpanded] = Tab(153, 29, deviceTop, deviceBottom, QString(), true);
        made[kCCFBitmapMacroCollapsed] = Tab(82, 29, macroTop, macroBottom, QStringLiteral("Macros"), false);
        made[kCCFBitmapMacroExpanded] = Tab(153, 29, macroTop, macroBottom, QString(), true);
        made[kCCFBitmapHomeNormal] = Home(false);
        made[kCCFBitmapHomePressed] = Home(true);
        return made;
    }();
    static const QPixmap none;
    const auto found = art.find(bitmapId);
    return found == art.end() ? none : *found;
}
