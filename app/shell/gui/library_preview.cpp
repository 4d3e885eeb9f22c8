#include "app/shell/gui/library_preview.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/shell/language_table.h"

namespace {

constexpr int kPanelWidthPx = 240;
constexpr int kPanelHeightPx = 290;  // the tables' keys reach down to about 267
constexpr int kBarPx = handheld::kScreenLongSidePx - kPanelHeightPx;
constexpr QRgb kBackground = qRgb(226, 228, 232);
constexpr int kPageCount = 3;

// Shading value that gives exactly the key's colour; higher lightens towards white, lower darkens to black.
constexpr int kExactShade = 170;

int Shade(int intensity, int channel) {
    if (intensity < kExactShade) return intensity * channel / kExactShade;
    return (intensity - kExactShade) * 255 / 85 + (255 - intensity) * channel / 85;
}

QRgb FromColorref(std::uint32_t color) {
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

std::u16string ShapeOf(const std::u16string& skin) {
    return skin.starts_with(u"FLAT_") ? skin.substr(5) : skin;
}

void DrawFace(QImage& target, const QImage& face, QPoint at, QRgb color, bool pressed) {
    const int channels[3] = {qRed(color), qGreen(color), qBlue(color)};
    for (int y = 0; y < face.height(); ++y) {
        const int ty = at.y() + y;
        if (ty < 0 || ty >= target.height()) continue;
        const uchar* in = face.constScanLine(y);
        uchar* out = target.scanLine(ty);
        for (int x = 0; x < face.width(); ++x) {
            const int tx = at.x() + x;
            const int coverage = in[3 * x + 2];
            if (tx < 0 || tx >= target.width() || coverage == 0) continue;
            const int intensity = pressed ? in[3 * x + 1] : in[3 * x];
            for (int c = 0; c < 3; ++c) {
                uchar& pixel = out[3 * tx + c];
                pixel = uchar((255 - coverage) * pixel / 255 + coverage * Shade(intensity, channels[c]) / 255);
            }
        }
    }
}

// The label's mask ANDed onto the key, then its picture XORed, centred on the shape's label point.
void DrawLabel(QImage& target, const QImage& picture, const QImage& mask, QPoint centre) {
    if (picture.isNull() || mask.size() != picture.size()) return;
    const QPoint topLeft = centre - QPoint(picture.width() / 2, picture.height() / 2);
    for (int y = 0; y < picture.height(); ++y) {
        const int ty = topLeft.y() + y;
        if (ty < 0 || ty >= target.height()) continue;
        uchar* out = target.scanLine(ty);
        for (int x = 0; x < picture.width(); ++x) {
            const int tx = topLeft.x() + x;
            if (tx < 0 || tx >= target.width()) continue;
            for (int c = 0; c < 3; ++c) {
                uchar& pixel = out[3 * tx + c];
                pixel = uchar((pixel & mask.constScanLine(y)[3 * x + c]) ^ picture.constScanLine(y)[3 * x + c]);
            }
        }
    }
}

}  // namespace

LibraryPreview::LibraryPreview(handheld::HMODULE library, handheld::HandheldScreen* screen)
    : QWidget(screen), library_(library), screen_(screen) {
    setObjectName(QStringLiteral("LibraryPreview"));
    connect(screen_, &handheld::HandheldScreen::ScreenTurned, this, [this] { Fit(); });
    Fit();
}

void LibraryPreview::Fit() {
    setGeometry(QRect(QPoint(0, 0), screen_->size()));
    update();
}

std::span<const TemplateRow> LibraryPreview::Rows() const {
    switch (page_) {
        case 0:
            return STANDARD_RECEIVER;
        case 1:
            return STANDARD_PLAYER;
        default:
            return STANDARD_FUNCTION_PANEL;
    }
}

void LibraryPreview::ShowPage(int page) {
    page_ = ((page % kPageCount) + kPageCount) % kPageCount;
    pressedRow_ = -1;
    update();
}

QImage LibraryPreview::ComposePage(handheld::HMODULE library, std::span<const TemplateRow> rows, int pressedRow) {
    QImage page(kPanelWidthPx, kPanelHeightPx, QImage::Format_RGB888);
    page.fill(kBackground);
    if (library == nullptr) return page;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TemplateRow& row = rows[i];
        const bool pressed = int(i) == pressedRow;
        const std::u16string skin = row.skin ? row.skin : u"";
        const std::u16string shape = ShapeOf(skin);
        const QImage face = library->LoadBitmap(skin);
        const QPoint corner(row.x, row.y);
        if (!face.isNull()) DrawFace(page, face, corner, FromColorref(row.color), pressed);

        QPoint labelCentre = corner;
        if (const auto points = library->Find(u"POINTS", shape); points && points->size() >= 2) {
            labelCentre += QPoint(static_cast<signed char>((*points)[0]), static_cast<signed char>((*points)[1]));
        }
        if (pressed) labelCentre += QPoint(1, 1);  // a pressed label sinks with its key
        if (row.label && *row.label) {
            const std::u16string label = row.label;
            DrawLabel(page, library->LoadBitmap(label), library->LoadBitmap(label + u"_MASK"), labelCentre);
        }
        const int captionSide = shape == u"F_LEFT" ? -1 : shape == u"F_RIGHT" ? 1 : 0;
        if (captionSide != 0) {
            const QImage box = library->LoadBitmap(u"IDB_BTNFACE");
            if (!box.isNull()) {
                QPainter painter(&page);
                painter.drawImage(corner + QPoint(captionSide < 0 ? 39 : 12, 12), box);
            }
        }
    }
    return page;
}

int LibraryPreview::HitRow(handheld::HMODULE library, std::span<const TemplateRow> rows, QPoint portrait) {
    if (library == nullptr) return -1;
    for (int i = int(rows.size()) - 1; i >= 0; --i) {
        const TemplateRow& row = rows[std::size_t(i)];
        const QImage face = library->LoadBitmap(row.skin ? row.skin : u"");
        if (face.isNull()) continue;
        const QPoint inFace = portrait - QPoint(row.x, row.y);
        if (!face.rect().contains(inFace)) continue;
        if (face.constScanLine(inFace.y())[3 * inFace.x() + 2] > 0) return i;
    }
    return -1;
}

QPoint LibraryPreview::ToPortrait(QPoint screenPoint) const {
    if (screen_->orientation() == handheld::Orientation::Portrait) return screenPoint;
    // The landscape picture is the portrait one turned counter-clockwise.
    return QPoint(handheld::kScreenShortSidePx - 1 - screenPoint.y(), screenPoint.x());
}

void LibraryPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QImage page = ComposePage(library_, Rows(), pressedRow_);
    const bool portrait = screen_->orientation() == handheld::Orientation::Portrait;
    if (!portrait) page = page.transformed(QTransform().rotate(-90));
    painter.drawImage(0, 0, page);

    const QRect bar = portrait ? QRect(0, kPanelHeightPx, width(), kBarPx) : QRect(kPanelHeightPx, 0, kBarPx, height());
    painter.fillRect(bar, QColor(40, 48, 64));
    painter.setPen(Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    const QString title = page_ == 0   ? QString::fromStdU16String(Text(u"DT_RECEIVER", u"Receiver"))
                          : page_ == 1 ? QString::fromStdU16String(Text(u"DT_PLAYER", u"Player"))
                                       : QStringLiteral("F1 \u2013 F12");
    if (portrait) {
        painter.drawText(bar, Qt::AlignCenter, title);
        painter.drawText(bar.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("\u25C0"));
        painter.drawText(bar.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("\u25B6"));
    } else {
        painter.drawText(bar.adjusted(0, 8, 0, -8), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("\u25B2"));
        painter.drawText(bar.adjusted(0, 8, 0, -8), Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("\u25BC"));
    }
}

void LibraryPreview::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool portrait = screen_->orientation() == handheld::Orientation::Portrait;
    if (portrait ? at.y() >= kPanelHeightPx : at.x() >= kPanelHeightPx) {
        // The bar turns the pages: its first half back, its second half forward.
        const bool back = portrait ? at.x() < width() / 2 : at.y() < height() / 2;
        ShowPage(page_ + (back ? -1 : 1));
        return;
    }
    pressedRow_ = HitRow(library_, Rows(), ToPortrait(at));
    update();
}

void LibraryPreview::mouseReleaseEvent(QMouseEvent*) {
    if (pressedRow_ < 0) return;
    pressedRow_ = -1;
    update();
}
