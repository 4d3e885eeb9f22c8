// gen_program_bitmaps OUTDIR: draws the program's bitmaps 154-192 (title, frame buttons, toggles, arrows and
// text fields, in their portrait and landscape variants) into OUTDIR/BITMAP/<number>.bmp, with
// OUTDIR/program_bitmaps.qrc listing them under the prefix /program.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "tools/gen_btnlib/artwork.h"

namespace {

const QColor kFrameGrey(198, 198, 198);  // the main window's background
const QColor kKeyTop(92, 104, 124);
const QColor kKeyBottom(52, 60, 76);
const QColor kKeyPressedTop(36, 42, 54);
const QColor kKeyPressedBottom(58, 66, 82);
const QColor kGlyph(236, 240, 246);
const QColor kLit(255, 196, 64);
const QColor kFieldFill(250, 250, 244);

enum class Direction { Left, Right, Up, Down };
enum class Look { Normal, Pressed };

// A rounded key on the frame grey; pressed keys look sunk and their glyph moves one pixel right and down.
QImage Key(int width, int height, Look look, const std::function<void(QPainter&, QRectF)>& glyph) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(kFrameGrey);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body(0.5, 0.5, width - 1.0, height - 1.0);
    QLinearGradient fill(0, 0, 0, height);
    const bool pressed = look == Look::Pressed;
    fill.setColorAt(0, pressed ? kKeyPressedTop : kKeyTop);
    fill.setColorAt(1, pressed ? kKeyPressedBottom : kKeyBottom);
    painter.setPen(QPen(QColor(40, 44, 52), 1));
    painter.setBrush(fill);
    const double radius = std::min(width, height) / 4.0;
    painter.drawRoundedRect(body, radius, radius);
    QRectF inner = body.adjusted(3, 3, -3, -3);
    if (pressed) inner.translate(1, 1);
    glyph(painter, inner);
    return image;
}

void Arrow(QPainter& painter, QRectF box, Direction direction, const QColor& color) {
    const QPointF c = box.center();
    const double half = std::min(box.width(), box.height()) / 2.0;
    QPolygonF triangle;
    switch (direction) {
        case Direction::Left:
            triangle << QPointF(c.x() - half * 0.7, c.y()) << QPointF(c.x() + half * 0.5, c.y() - half)
                     << QPointF(c.x() + half * 0.5, c.y() + half);
            break;
        case Direction::Right:
            triangle << QPointF(c.x() + half * 0.7, c.y()) << QPointF(c.x() - half * 0.5, c.y() - half)
                     << QPointF(c.x() - half * 0.5, c.y() + half);
            break;
        case Direction::Up:
            triangle << QPointF(c.x(), c.y() - half * 0.7) << QPointF(c.x() - half, c.y() + half * 0.5)
                     << QPointF(c.x() + half, c.y() + half * 0.5);
            break;
        case Direction::Down:
            triangle << QPointF(c.x(), c.y() + half * 0.7) << QPointF(c.x() - half, c.y() - half * 0.5)
                     << QPointF(c.x() + half, c.y() - half * 0.5);
            break;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(triangle);
}

QImage ArrowKey(int width, int height, Look look, Direction direction) {
    return Key(width, height, look, [direction](QPainter& p, QRectF box) { Arrow(p, box, direction, kGlyph); });
}

QImage CloseKey(Look look) {
    return Key(20, 20, look, [](QPainter& p, QRectF box) {
        p.setPen(QPen(kGlyph, 2, Qt::SolidLine, Qt::RoundCap));
        const QRectF x = box.adjusted(2, 2, -2, -2);
        p.drawLine(x.topLeft(), x.bottomRight());
        p.drawLine(x.topRight(), x.bottomLeft());
    });
}

QImage MenuKey(Look look) {
    return Key(25, 25, look, [](QPainter& p, QRectF box) {
        p.setPen(QPen(kGlyph, 2, Qt::SolidLine, Qt::RoundCap));
        const QRectF lines = box.adjusted(2, 4, -2, -4);
        for (int i = 0; i < 3; ++i) {
            const double y = lines.top() + i * lines.height() / 2;
            p.drawLine(QPointF(lines.left(), y), QPointF(lines.right(), y));
        }
    });
}

// The function toggle: an "F" and a row of small keys; lit while the function panel shows.
QImage FunctionKey(Look look, bool on) {
    return Key(25, 25, look, [on](QPainter& p, QRectF box) {
        const QColor color = on ? kLit : kGlyph;
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(13);
        font.setBold(true);
        p.setFont(font);
        p.setPen(color);
        p.drawText(box.adjusted(0, -3, 0, -3), Qt::AlignCenter, QStringLiteral("F"));
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        for (int i = 0; i < 3; ++i) p.drawRect(QRectF(box.left() + 2 + i * 5.5, box.bottom() - 3, 4, 2.5));
    });
}

// The sound toggle: a speaker, with waves when sounds are on and a cross when off.
QImage SoundKey(Look look, bool on) {
    return Key(25, 25, look, [on](QPainter& p, QRectF box) {
        const QPointF c = box.center();
        QPolygonF speaker;
        speaker << QPointF(c.x() - 7, c.y() - 3) << QPointF(c.x() - 4, c.y() - 3) << QPointF(c.x(), c.y() - 7)
                << QPointF(c.x(), c.y() + 7) << QPointF(c.x() - 4, c.y() + 3) << QPointF(c.x() - 7, c.y() + 3);
        p.setPen(Qt::NoPen);
        p.setBrush(on ? kLit : kGlyph);
        p.drawPolygon(speaker);
        p.setBrush(Qt::NoBrush);
        if (on) {
            p.setPen(QPen(kLit, 1.5));
            p.drawArc(QRectF(c.x() - 4, c.y() - 5, 10, 10), -50 * 16, 100 * 16);
            p.drawArc(QRectF(c.x() - 6, c.y() - 8, 16, 16), -50 * 16, 100 * 16);
        } else {
            p.setPen(QPen(kGlyph, 1.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(c.x() + 3, c.y() - 3), QPointF(c.x() + 8, c.y() + 3));
            p.drawLine(QPointF(c.x() + 8, c.y() - 3), QPointF(c.x() + 3, c.y() + 3));
        }
    });
}

// The CCF home key: a small house.
QImage HomeKey(Look look) {
    return Key(24, 24, look, [](QPainter& p, QRectF box) {
        const QPointF c = box.center();
        QPolygonF house;
        house << QPointF(c.x(), c.y() - 7) << QPointF(c.x() + 7, c.y()) << QPointF(c.x() + 5, c.y())
              << QPointF(c.x() + 5, c.y() + 6) << QPointF(c.x() - 5, c.y() + 6) << QPointF(c.x() - 5, c.y())
              << QPointF(c.x() - 7, c.y());
        p.setPen(Qt::NoPen);
        p.setBrush(kGlyph);
        p.drawPolygon(house);
    });
}

// A pale sunk field for a text widget, drawn in portrait and turned for landscape.
QImage Field(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(kFrameGrey);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    painter.setBrush(kFieldFill);
    painter.drawRoundedRect(QRectF(0.5, 0.5, width - 1.0, height - 1.0), 4, 4);
    return image;
}

QImage Title() {
    QImage image(120, 20, QImage::Format_RGB888);
    image.fill(kFrameGrey);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(QRectF(5, 1, 115, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orvane"));
    painter.setPen(QColor(36, 64, 120));
    painter.drawText(QRectF(4, 0, 115, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orvane"));
    painter.setPen(QPen(kLit, 2));
    painter.drawLine(QPointF(74, 14), QPointF(116, 14));
    return image;
}

// The About box's pictures: a remote control with a beam (149), the program's name large (150), and a
// maker's line under it (152).
QImage AboutRemote() {
    QImage image(64, 64, QImage::Format_RGB888);
    image.fill(kFrameGrey);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(36, 64, 120), 2));
    painter.setBrush(QColor(70, 70, 200));
    painter.drawRoundedRect(QRectF(18, 14, 22, 46), 6, 6);
    painter.setBrush(QColor(230, 40, 60));
    painter.drawEllipse(QRectF(24, 19, 10, 10));
    painter.setBrush(QColor(250, 200, 20));
    for (int row = 0; row < 3; ++row) painter.drawEllipse(QRectF(23, 33 + row * 8, 12, 5));
    painter.setPen(QPen(kLit, 2));
    for (int arc = 0; arc < 3; ++arc)
        painter.drawArc(QRectF(28 - arc * 6, 2 - arc * 6, 16 + arc * 12, 16 + arc * 12), 30 * 16, 60 * 16);
    return image;
}

QImage AboutText(const QString& text, int heightPx, int fontPx, bool bold) {
    QImage image(200, heightPx, QImage::Format_RGB888);
    image.fill(kFrameGrey);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(fontPx);
    font.setBold(bold);
    painter.setFont(font);
    painter.setPen(QColor(36, 64, 120));
    painter.drawText(QRectF(0, 0, 200, heightPx), Qt::AlignCenter, text);
    return image;
}

// Landscape variants of pictures that only turn: the portrait picture turned counter-clockwise.
QImage Turned(const QImage& portrait) {
    return portrait.transformed(QTransform().rotate(-90));
}

struct Entry {
    int number;
    QImage image;
};

std::vector<Entry> Draw() {
    std::vector<Entry> out;
    auto add = [&](int number, QImage image) { out.push_back({number, std::move(image)}); };
    add(154, CloseKey(Look::Normal));
    add(162, CloseKey(Look::Pressed));
    add(149, AboutRemote());
    add(150, AboutText(QStringLiteral("Orvane"), 30, 24, true));
    add(152, AboutText(QStringLiteral("a universal remote control"), 16, 11, false));
    add(155, Title());
    add(156, Turned(Title()));
    add(159, MenuKey(Look::Normal));
    add(163, MenuKey(Look::Pressed));
    add(168, FunctionKey(Look::Normal, false));
    add(169, FunctionKey(Look::Pressed, false));
    add(160, FunctionKey(Look::Normal, true));
    add(164, FunctionKey(Look::Pressed, true));
    add(161, SoundKey(Look::Normal, false));
    add(165, SoundKey(Look::Pressed, false));
    add(166, SoundKey(Look::Normal, true));
    add(167, SoundKey(Look::Pressed, true));
    // Device arrows: the bottom row turns into the right column, so left becomes down and right up.
    add(172, ArrowKey(12, 25, Look::Normal, Direction::Left));
    add(173, ArrowKey(12, 25, Look::Pressed, Direction::Left));
    add(174, ArrowKey(25, 12, Look::Normal, Direction::Down));
    add(175, ArrowKey(25, 12, Look::Pressed, Direction::Down));
    add(176, ArrowKey(12, 25, Look::Normal, Direction::Right));
    add(177, ArrowKey(12, 25, Look::Pressed, Direction::Right));
    add(178, ArrowKey(25, 12, Look::Normal, Direction::Up));
    add(179, ArrowKey(25, 12, Look::Pressed, Direction::Up));
    add(170, Field(95, 20));
    add(171, Turned(Field(95, 20)));
    add(180, HomeKey(Look::Normal));
    add(181, HomeKey(Look::Pressed));
    add(183, Field(139, 20));
    add(182, Turned(Field(139, 20)));
    add(184, ArrowKey(18, 24, Look::Normal, Direction::Left));
    add(185, ArrowKey(18, 24, Look::Pressed, Direction::Left));
    add(186, ArrowKey(18, 24, Look::Normal, Direction::Right));
    add(187, ArrowKey(18, 24, Look::Pressed, Direction::Right));
    add(188, ArrowKey(24, 18, Look::Normal, Direction::Down));
    add(189, ArrowKey(24, 18, Look::Pressed, Direction::Down));
    add(191, ArrowKey(24, 18, Look::Normal, Direction::Up));
    add(192, ArrowKey(24, 18, Look::Pressed, Direction::Up));
    return out;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "gen_program_bitmaps: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_program_bitmaps OUTDIR\n");
        return 2;
    }
    // Drawing text needs a GUI application, never a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("BITMAP"))) {
        std::fprintf(stderr, "gen_program_bitmaps: cannot make %s/BITMAP\n", argv[1]);
        return 1;
    }
    bool ok = true;
    QByteArray qrc = "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/program\">\n";
    for (const Entry& entry : Draw()) {
        const QString file = QStringLiteral("BITMAP/%1.bmp").arg(entry.number);
        ok &= WriteFile(out.filePath(file), btnlib::EncodeBmp24(entry.image));
        qrc += "  <file>" + file.toUtf8() + "</file>\n";
    }
    qrc += "</qresource>\n</RCC>\n";
    ok &= WriteFile(out.filePath(QStringLiteral("program_bitmaps.qrc")), qrc);
    return ok ? 0 : 1;
}
