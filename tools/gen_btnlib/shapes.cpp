// The shapes of the button library. Sizes follow the grid of the device tables: the channel keys stand 48
// pixels apart in 44-pixel rows, the function panel's keys 120 apart; the pad of channel and volume keys
// around MUTE shares one centre, so its four pieces are cut from one ring.
#include <QPolygonF>
#include <QTransform>
#include <cmath>

#include "tools/gen_btnlib/artwork.h"

namespace btnlib {

namespace {

// Outlines sit half a pixel inside the bitmap so the anti-aliased edge stays within it.
constexpr double kEdgeInset = 0.5;

QPainterPath RoundedBox(double width, double height, double radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(kEdgeInset, kEdgeInset, width - 2 * kEdgeInset, height - 2 * kEdgeInset), radius,
                        radius);
    return path;
}

QPainterPath Oval(double width, double height) {
    return RoundedBox(width, height, std::min(width, height) / 2);
}

QPainterPath Ellipse(double width, double height) {
    QPainterPath path;
    path.addEllipse(QRectF(kEdgeInset, kEdgeInset, width - 2 * kEdgeInset, height - 2 * kEdgeInset));
    return path;
}

// A rounded polygon: straight edges joined by arcs of the given radius.
QPainterPath RoundedPolygon(const std::vector<QPointF>& corners, double radius) {
    QPainterPath path;
    const std::size_t n = corners.size();
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF prev = corners[(i + n - 1) % n];
        const QPointF here = corners[i];
        const QPointF next = corners[(i + 1) % n];
        const QPointF toPrev = prev - here;
        const QPointF toNext = next - here;
        const double lenPrev = std::hypot(toPrev.x(), toPrev.y());
        const double lenNext = std::hypot(toNext.x(), toNext.y());
        const double cut = std::min({radius, lenPrev / 2, lenNext / 2});
        const QPointF start = here + toPrev * (cut / lenPrev);
        const QPointF end = here + toNext * (cut / lenNext);
        if (i == 0)
            path.moveTo(start);
        else
            path.lineTo(start);
        path.quadTo(here, end);
    }
    path.closeSubpath();
    return path;
}

// The pad: a ring around the MUTE key split by diagonal gaps into four pieces.
constexpr double kPadOuterRadius = 62;
constexpr double kPadInnerRadius = 31;
constexpr double kPadGap = 3;  // pixels between neighbouring pieces

enum class PadSide { Up, Down, Left, Right };

QPainterPath PadPiece(PadSide side, double width, double height, QPointF centre) {
    QPainterPath ring;
    ring.addEllipse(centre, kPadOuterRadius, kPadOuterRadius);
    QPainterPath hole;
    hole.addEllipse(centre, kPadInnerRadius, kPadInnerRadius);
    ring = ring.subtracted(hole);

    // Wedge pointing up from the centre, then turned to the side wanted.
    const double shift = kPadGap / std::sqrt(2.0);
    const double far = 200;
    QPolygonF wedge({QPointF(0, -shift), QPointF(-far, -far - shift), QPointF(far, -far - shift)});
    QTransform turn;
    turn.translate(centre.x(), centre.y());
    switch (side) {
        case PadSide::Up:
            break;
        case PadSide::Down:
            turn.rotate(180);
            break;
        case PadSide::Left:
            turn.rotate(-90);
            break;
        case PadSide::Right:
            turn.rotate(90);
            break;
    }
    QPainterPath wedgePath;
    wedgePath.addPolygon(turn.map(wedge));
    wedgePath.closeSubpath();

    QPainterPath box;
    box.addRect(QRectF(kEdgeInset, kEdgeInset, width - 2 * kEdgeInset, height - 2 * kEdgeInset));
    return ring.intersected(wedgePath).intersected(box).simplified();
}

// Corner keys of the pad lean along the ring so that they keep clear of it.
QPainterPath Leaning(double width, double height, bool topShiftedRight) {
    const double lean = 14;
    const double r = 11;
    const double a = kEdgeInset, w = width - kEdgeInset, h = height - kEdgeInset;
    if (topShiftedRight) return RoundedPolygon({{a + lean, a}, {w, a}, {w - lean, h}, {a, h}}, r);
    return RoundedPolygon({{a, a}, {w - lean, a}, {w, h}, {a + lean, h}}, r);
}

QPainterPath Arrow(double width, double height, PadSide side) {
    // A key with a point on one side, like a house lying on its side.
    const double a = kEdgeInset, w = width - kEdgeInset, h = height - kEdgeInset;
    const double tip = 13;
    std::vector<QPointF> corners;
    switch (side) {
        case PadSide::Left:
            corners = {{a, h / 2}, {a + tip, a}, {w, a}, {w, h}, {a + tip, h}};
            break;
        case PadSide::Right:
            corners = {{a, a}, {w - tip, a}, {w, h / 2}, {w - tip, h}, {a, h}};
            break;
        case PadSide::Up:
            corners = {{w / 2, a}, {w, a + tip}, {w, h}, {a, h}, {a, a + tip}};
            break;
        case PadSide::Down:
            corners = {{a, a}, {w, a}, {w, h - tip}, {w / 2, h}, {a, h - tip}};
            break;
    }
    return RoundedPolygon(corners, 7);
}

std::vector<Shape> MakeShapes() {
    std::vector<Shape> shapes;
    auto add = [&](const char* name, int width, int height, QPointF label, QPainterPath outline) {
        shapes.push_back(
            {name, width, height, int(std::lround(label.x())), int(std::lround(label.y())), std::move(outline)});
    };
    add("CHANAL", 46, 42, {23, 21}, RoundedBox(46, 42, 9));
    add("RECTANGLE", 92, 40, {46, 20}, RoundedBox(92, 40, 8));
    add("F1", 42, 42, {21, 21}, Ellipse(42, 42));
    add("F2", 42, 42, {21, 21}, Ellipse(42, 42));
    add("F5", 42, 42, {21, 21}, Ellipse(42, 42));
    add("F6", 42, 42, {21, 21}, Ellipse(42, 42));
    add("SLASH", 58, 40, {29, 20}, Leaning(58, 40, true));
    add("F4", 58, 40, {29, 20}, Leaning(58, 40, false));
    add("F3", 58, 40, {29, 20}, Leaning(58, 40, false));
    add("PW", 58, 40, {29, 20}, Leaning(58, 40, true));
    add("LEFT", 42, 42, {24, 21}, Arrow(42, 42, PadSide::Left));
    add("RIGHT", 42, 42, {18, 21}, Arrow(42, 42, PadSide::Right));
    // Pad pieces: boxes as the tables place them around the MUTE key; the label sits on the ring's middle.
    const double ringMiddle = (kPadOuterRadius + kPadInnerRadius) / 2;
    add("CHANALPLUS", 100, 36, {50, 70 - ringMiddle}, PadPiece(PadSide::Up, 100, 36, {50, 70}));
    add("CHANALMINUS", 100, 36, {50, -34 + ringMiddle}, PadPiece(PadSide::Down, 100, 36, {50, -34}));
    add("VOLUMEMINUS", 42, 92, {73 - ringMiddle, 46}, PadPiece(PadSide::Left, 42, 92, {73, 46}));
    add("VOLUMEPLUS", 42, 92, {-31 + ringMiddle, 46}, PadPiece(PadSide::Right, 42, 92, {-31, 46}));
    add("MUTE", 54, 46, {27, 23}, Ellipse(50, 44).translated(2, 1));

    // Function panel keys: label on the free end, the caption box (67 x 18) at (39, 12) or (12, 12).
    add("F_LEFT", 118, 42, {20, 21}, RoundedBox(118, 42, 10));
    add("F_RIGHT", 118, 42, {99, 21}, RoundedBox(118, 42, 10));

    // More shapes for custom panels.
    add("ROUND", 36, 36, {18, 18}, Ellipse(36, 36));
    add("SMALLROUND", 28, 28, {14, 14}, Ellipse(28, 28));
    add("SQUARE", 40, 40, {20, 20}, RoundedBox(40, 40, 6));
    add("SMALL", 36, 24, {18, 12}, RoundedBox(36, 24, 6));
    add("PILL", 56, 26, {28, 13}, Oval(56, 26));
    add("WIDE", 116, 30, {58, 15}, Oval(116, 30));
    add("TALL", 30, 62, {15, 31}, Oval(30, 62));
    add("OVAL", 60, 40, {30, 20}, Ellipse(60, 40));
    add("UP", 42, 42, {21, 24}, Arrow(42, 42, PadSide::Up));
    add("DOWN", 42, 42, {21, 18}, Arrow(42, 42, PadSide::Down));
    add("BIGROUND", 64, 64, {32, 32}, Ellipse(64, 64));
    return shapes;
}

}  // namespace

const std::vector<Shape>& Shapes() {
    static const std::vector<Shape> shapes = MakeShapes();
    return shapes;
}

std::vector<signed char> LabelPoints(const Shape& shape) {
    // Turning counter-clockwise takes the portrait point (x, y) to (y, width - x).
    return {static_cast<signed char>(shape.labelX), static_cast<signed char>(shape.labelY),
            static_cast<signed char>(shape.labelY), static_cast<signed char>(shape.width - shape.labelX)};
}

}  // namespace btnlib
