#include "handheld/shell/system_icons.h"

#include <QPainter>
#include <QPixmap>

#include "handheld/text.h"

namespace handheld {

int SystemIconIndex(std::u16string_view path, bool isFolder) {
    if (isFolder) return kIconFolder;
    const auto slash = path.find_last_of(u'\\');
    const auto dot = path.find_last_of(u'.');
    if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && dot < slash)) return kIconDocument;
    const std::u16string extension = ToUpper(path.substr(dot + 1));
    if (extension == u"KDR") return kIconDevice;
    if (extension == u"CCF") return kIconCcf;
    if (extension == u"BMP" || extension == u"JPG" || extension == u"JPEG" || extension == u"GIF" ||
        extension == u"PNG")
        return kIconPicture;
    if (extension == u"WAV") return kIconSound;
    if (extension == u"EXE" || extension == u"DLL") return kIconProgram;
    return kIconDocument;
}

namespace {

QPixmap DrawIcon(int index) {
    QPixmap pixmap(kSmallIconPx, kSmallIconPx);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    switch (index) {
        case kIconFolder:
            p.setBrush(QColor(240, 200, 60));
            p.drawRect(1, 4, 13, 10);
            p.drawRect(1, 2, 5, 2);
            break;
        case kIconDevice:  // a small remote control
            p.setBrush(QColor(60, 60, 70));
            p.drawRoundedRect(4, 0, 8, 15, 2, 2);
            p.fillRect(6, 2, 4, 2, Qt::red);
            p.fillRect(6, 6, 2, 2, Qt::white);
            p.fillRect(9, 6, 2, 2, Qt::white);
            p.fillRect(6, 10, 2, 2, Qt::white);
            p.fillRect(9, 10, 2, 2, Qt::white);
            break;
        case kIconCcf:
            p.setBrush(QColor(40, 90, 200));
            p.drawRoundedRect(3, 0, 10, 15, 2, 2);
            p.fillRect(5, 3, 6, 4, QColor(160, 220, 255));
            p.fillRect(5, 9, 6, 3, Qt::white);
            break;
        case kIconPicture:
            p.setBrush(QColor(150, 210, 250));
            p.drawRect(0, 2, 15, 12);
            p.setBrush(QColor(40, 160, 60));
            p.drawPolygon(QPolygon({QPoint(1, 13), QPoint(6, 6), QPoint(10, 13)}));
            p.setBrush(Qt::yellow);
            p.drawEllipse(10, 4, 3, 3);
            break;
        case kIconSound:
            p.setBrush(Qt::black);
            p.drawRect(2, 5, 3, 5);
            p.drawPolygon(QPolygon({QPoint(5, 5), QPoint(9, 1), QPoint(9, 14), QPoint(5, 10)}));
            p.drawArc(8, 4, 6, 7, -60 * 16, 120 * 16);
            break;
        case kIconProgram:
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(0, 1, 15, 13);
            p.fillRect(1, 2, 14, 3, QColor(0, 0, 160));
            break;
        default:  // a sheet with a folded corner
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygon({QPoint(2, 0), QPoint(10, 0), QPoint(13, 3), QPoint(13, 15), QPoint(2, 15)}));
            p.drawLine(10, 0, 10, 3);
            p.drawLine(10, 3, 13, 3);
            break;
    }
    return pixmap;
}

}  // namespace

QIcon SystemSmallIcon(int index) {
    if (index < 0 || index >= kSystemIconCount) index = kIconDocument;
    return QIcon(DrawIcon(index));
}

}  // namespace handheld
