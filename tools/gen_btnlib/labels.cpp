// Label pictures. Each glyph is drawn anti-aliased as a coverage field; the mask takes the pixels that are
// clearly covered, and the picture fills them with white fading to grey at the rim, with a dark shadow.
// Masks must be pure black and white: the program ANDs them onto the key.
#include <QFont>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/gen_btnlib/artwork.h"

namespace btnlib {

namespace {

constexpr int kMaskThreshold = 96;  // coverage (of 255) from which a pixel belongs to the label
constexpr int kMargin = 1;
constexpr int kShadow = 1;  // a dark shadow down and to the right keeps white labels readable on light keys

QFont Bold(int pixelSize) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QPainterPath Text(const QString& text, int pixelSize, double letterSpacing = 0) {
    QFont font = Bold(pixelSize);
    if (letterSpacing != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

QPainterPath Rect(double x, double y, double w, double h) {
    QPainterPath path;
    path.addRect(x, y, w, h);
    return path;
}

// Triangles pointing right or left, 9 wide and 12 tall, starting at x.
QPainterPath TriangleRight(double x) {
    return Polygon({{x, 0}, {x + 9, 6}, {x, 12}});
}
QPainterPath TriangleLeft(double x) {
    return Polygon({{x + 9, 0}, {x, 6}, {x + 9, 12}});
}
QPainterPath TriangleUp(double width = 12) {
    return Polygon({{0, 9}, {width / 2, 0}, {width, 9}});
}
QPainterPath TriangleDown(double width = 12) {
    return Polygon({{0, 0}, {width, 0}, {width / 2, 9}});
}

// Stacks parts vertically, each centred, with a gap between them.
QPainterPath Stack(const std::vector<QPainterPath>& parts, double gap) {
    double width = 0;
    for (const auto& p : parts) width = std::max(width, p.boundingRect().width());
    QPainterPath out;
    double y = 0;
    for (const auto& p : parts) {
        const QRectF r = p.boundingRect();
        out.addPath(p.translated((width - r.width()) / 2 - r.left(), y - r.top()));
        y += r.height() + gap;
    }
    return out;
}

// Places parts side by side, centred vertically.
QPainterPath Row(const std::vector<QPainterPath>& parts, double gap) {
    double height = 0;
    for (const auto& p : parts) height = std::max(height, p.boundingRect().height());
    QPainterPath out;
    double x = 0;
    for (const auto& p : parts) {
        const QRectF r = p.boundingRect();
        out.addPath(p.translated(x - r.left(), (height - r.height()) / 2 - r.top()));
        x += r.width() + gap;
    }
    return out;
}

QPainterPath PowerSymbol() {
    // An open ring with a bar through its gap, drawn as strokes 2.4 pixels wide.
    QPainterPath ring;
    ring.arcMoveTo(QRectF(1.5, 2.5, 13, 13), 125);
    ring.arcTo(QRectF(1.5, 2.5, 13, 13), 125, 290);
    QPainterPathStroker stroker;
    stroker.setWidth(2.4);
    stroker.setCapStyle(Qt::RoundCap);
    QPainterPath bar;
    bar.moveTo(8, 0.8);
    bar.lineTo(8, 8.5);
    return stroker.createStroke(ring).united(stroker.createStroke(bar));
}

QPainterPath Speaker(bool crossed) {
    QPainterPath body = Polygon({{0, 4}, {3.5, 4}, {8, 0}, {8, 13}, {3.5, 9}, {0, 9}});
    QPainterPathStroker stroker;
    stroker.setWidth(1.8);
    stroker.setCapStyle(Qt::RoundCap);
    QPainterPath marks;
    if (crossed) {
        marks.moveTo(10.5, 3.5);
        marks.lineTo(16.5, 9.5);
        marks.moveTo(16.5, 3.5);
        marks.lineTo(10.5, 9.5);
    } else {
        marks.arcMoveTo(QRectF(5, 2, 9, 9), -50);
        marks.arcTo(QRectF(5, 2, 9, 9), -50, 100);
    }
    return body.united(stroker.createStroke(marks));
}

struct LabelDef {
    const char* key;
    std::function<QPainterPath()> draw;
};

std::vector<LabelDef> Definitions() {
    std::vector<LabelDef> defs;
    for (int digit = 0; digit <= 9; ++digit) {
        defs.push_back({nullptr, [digit] { return Text(QString::number(digit), 17); }});
    }
    const char* digitKeys[] = {"LABEL0", "LABEL1", "LABEL2", "LABEL3", "LABEL4",
                               "LABEL5", "LABEL6", "LABEL7", "LABEL8", "LABEL9"};
    for (int i = 0; i < 10; ++i) defs[std::size_t(i)].key = digitKeys[i];

    static const char* const functionKeys[] = {"LABELF1", "LABELF2", "LABELF3", "LABELF4",  "LABELF5",  "LABELF6",
                                               "LABELF7", "LABELF8", "LABELF9", "LABELF10", "LABELF11", "LABELF12"};
    for (int i = 0; i < 12; ++i) {
        defs.push_back({functionKeys[i], [i] { return Text(QStringLiteral("F%1").arg(i + 1), 13); }});
    }
    defs.push_back({"LABELSLASH", [] { return Text(QStringLiteral("-/--"), 13); }});
    defs.push_back({"LABELCHPLUS", [] { return Row({Text(QStringLiteral("CH"), 11), TriangleUp(11)}, 3); }});
    defs.push_back({"LABELCHMINUS", [] { return Row({Text(QStringLiteral("CH"), 11), TriangleDown(11)}, 3); }});
    defs.push_back({"LABELVOLPLUS", [] { return Stack({Speaker(false), Text(QStringLiteral("+"), 15)}, 3); }});
    defs.push_back({"LABELVOLMINUS", [] { return Stack({Speaker(false), Rect(0, 0, 9, 2.6)}, 5); }});
    defs.push_back({"LABELMUTE", [] { return Text(QStringLiteral("MUTE"), 10); }});
    defs.push_back({"LABELPW", [] { return PowerSymbol(); }});
    defs.push_back({"LABELPLAY", [] { return Polygon({{0, 0}, {11, 6.5}, {0, 13}}); }});
    defs.push_back({"LABELPAUSE", [] { return Rect(0, 0, 4, 13).united(Rect(7, 0, 4, 13)); }});
    defs.push_back({"LABELSTOP", [] { return Rect(0, 0, 11, 11); }});
    defs.push_back({"LABELRECORD", [] {
                        QPainterPath p;
                        p.addEllipse(QRectF(0, 0, 12, 12));
                        return p;
                    }});
    defs.push_back({"LABELEJECT", [] { return TriangleUp(13).united(Rect(0, 11, 13, 2.6)); }});
    defs.push_back({"LABELBEGIN", [] { return Rect(0, 0, 2.6, 12).united(TriangleLeft(2)).united(TriangleLeft(10)); }});
    defs.push_back(
        {"LABELEND", [] { return TriangleRight(0).united(TriangleRight(8)).united(Rect(17.4, 0, 2.6, 12)); }});
    defs.push_back({"LABELLEFT", [] { return TriangleLeft(0).united(TriangleLeft(8)); }});
    defs.push_back({"LABELRIGHT", [] { return TriangleRight(0).united(TriangleRight(8)); }});

    // More labels for custom panels.
    defs.push_back({"LABELUP", [] { return TriangleUp(14); }});
    defs.push_back({"LABELDOWN", [] { return TriangleDown(14); }});
    defs.push_back({"LABELPREV", [] { return Rect(0, 0, 2.6, 12).united(TriangleLeft(2)); }});
    defs.push_back({"LABELNEXT", [] { return TriangleRight(0).united(Rect(9.4, 0, 2.6, 12)); }});
    defs.push_back({"LABELPLUS", [] { return Text(QStringLiteral("+"), 18); }});
    defs.push_back({"LABELMINUS", [] { return Rect(0, 0, 11, 3); }});
    defs.push_back({"LABELSPEAKER", [] { return Speaker(false); }});
    defs.push_back({"LABELSILENT", [] { return Speaker(true); }});
    defs.push_back({"LABELOK", [] { return Text(QStringLiteral("OK"), 13); }});
    defs.push_back({"LABELMENU", [] { return Text(QStringLiteral("MENU"), 10); }});
    defs.push_back({"LABELEXIT", [] { return Text(QStringLiteral("EXIT"), 10); }});
    defs.push_back({"LABELINFO", [] { return Text(QStringLiteral("INFO"), 10); }});
    defs.push_back({"LABELGUIDE", [] { return Text(QStringLiteral("EPG"), 11); }});
    defs.push_back({"LABELTEXT", [] { return Text(QStringLiteral("TXT"), 11); }});
    defs.push_back({"LABELTV", [] { return Text(QStringLiteral("TV"), 13); }});
    defs.push_back({"LABELAV", [] { return Text(QStringLiteral("AV"), 13); }});
    defs.push_back({"LABELDVD", [] { return Text(QStringLiteral("DVD"), 11); }});
    defs.push_back({"LABELSAT", [] { return Text(QStringLiteral("SAT"), 11); }});
    defs.push_back({"LABELAUX", [] { return Text(QStringLiteral("AUX"), 11); }});
    defs.push_back({"LABELSLEEP", [] { return Text(QStringLiteral("SLEEP"), 9); }});
    defs.push_back({"LABELON", [] { return Text(QStringLiteral("ON"), 12); }});
    defs.push_back({"LABELOFF", [] { return Text(QStringLiteral("OFF"), 11); }});
    defs.push_back({"LABELSTAR", [] { return Text(QStringLiteral("*"), 18); }});
    defs.push_back({"LABELHASH", [] { return Text(QStringLiteral("#"), 15); }});
    return defs;
}

// The whole pixels a glyph covers once placed on whole-pixel offsets, as Render places it.
QSize PixelSpan(const QPainterPath& glyph) {
    const QRectF bounds = glyph.boundingRect();
    return {int(std::ceil(bounds.right()) - std::floor(bounds.left())),
            int(std::ceil(bounds.bottom()) - std::floor(bounds.top()))};
}

// Shrinks a glyph that would not fit, with its margin and shadow, the cell the label picker shows it in.
QPainterPath FitLabelCell(QPainterPath glyph) {
    constexpr int kRoom = kLabelCellSize - 2 * kMargin - kShadow;
    for (QSize span = PixelSpan(glyph); span.width() > kRoom || span.height() > kRoom; span = PixelSpan(glyph)) {
        // One pixel to spare for where the scaled outline falls between pixels.
        const double scale = double(kRoom - 1) / std::max(span.width(), span.height());
        glyph = QTransform::fromScale(scale, scale).map(glyph);
    }
    return glyph;
}

Label Render(const char* key, const QPainterPath& glyph) {
    const QRectF bounds = glyph.boundingRect();
    const QSize span = PixelSpan(glyph);
    const int w = span.width() + 2 * kMargin + kShadow;
    const int h = span.height() + 2 * kMargin + kShadow;
    QImage coverage(w, h, QImage::Format_Grayscale8);
    coverage.fill(0);
    QPainter painter(&coverage);
    painter.setRenderHint(QPainter::Antialiasing);
    // Whole-pixel placement keeps straight strokes crisp.
    painter.translate(kMargin - std::floor(bounds.left()), kMargin - std::floor(bounds.top()));
    painter.fillPath(glyph, Qt::white);
    painter.end();

    auto covered = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && coverage.constScanLine(y)[x] >= kMaskThreshold;
    };
    Label label{key, QImage(w, h, QImage::Format_RGB888), QImage(w, h, QImage::Format_RGB888)};
    for (int y = 0; y < h; ++y) {
        const uchar* cov = coverage.constScanLine(y);
        uchar* pic = label.picture.scanLine(y);
        uchar* mask = label.mask.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const bool glyphPixel = covered(x, y);
            const bool shadowPixel = !glyphPixel && covered(x - kShadow, y - kShadow);
            uchar grey = 0;
            // Rim pixels fade from white towards grey; the shadow is dark grey, never black, so that the
            // picture is black exactly where the mask leaves the key alone.
            if (glyphPixel) grey = uchar(96 + (255 - 96) * (cov[x] - kMaskThreshold) / (255 - kMaskThreshold));
            if (shadowPixel) grey = 40;
            const bool shows = glyphPixel || shadowPixel;
            for (int c = 0; c < 3; ++c) {
                pic[3 * x + c] = grey;
                mask[3 * x + c] = shows ? 0 : 255;
            }
        }
    }
    return label;
}

}  // namespace

std::vector<Label> DrawLabels() {
    std::vector<Label> labels;
    for (const auto& def : Definitions()) labels.push_back(Render(def.key, FitLabelCell(def.draw())));
    return labels;
}

}  // namespace btnlib
