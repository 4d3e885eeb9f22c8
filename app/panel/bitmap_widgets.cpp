#include "app/panel/bitmap_widgets.h"

#include <QPainter>
#include <QWidget>

#include "app/panel/bitmap24.h"
#include "app/panel/qt_pixels.h"

// The generated resource is compiled into a static library: referencing its initialiser keeps it linked.
static void InitProgramBitmaps() {
    Q_INIT_RESOURCE(program_bitmaps);
}

namespace {

// Landscape text is drawn this far inside the widget on every side.
constexpr int kTextInsetPx = 2;

}  // namespace

QImage LoadProgramBitmap(int number) {
    static const bool initialised = (InitProgramBitmaps(), true);
    (void)initialised;
    QImage image;
    if (!image.load(QStringLiteral(":/program/BITMAP/%1.bmp").arg(number), "BMP")) return {};
    return image;
}

BitmapWidget::BitmapWidget(QString id, int orientation, WidgetPlacement portrait, WidgetPlacement landscape)
    : id_(std::move(id)), orientation_(orientation) {
    BitmapWidget::Reset(orientation, portrait, landscape);
}

void BitmapWidget::Reset(int orientation, WidgetPlacement portrait, WidgetPlacement landscape) {
    orientation_ = orientation;
    portrait_ = portrait;
    landscape_ = landscape;
    portraitBitmap_ = LoadProgramBitmap(portrait.bitmap);
    landscapeBitmap_ = LoadProgramBitmap(landscape.bitmap);
}

const QImage& BitmapWidget::CurrentBitmap() const {
    return IsPortrait() ? PortraitBitmap() : LandscapeBitmap();
}

void BitmapWidget::Draw(QPainter& dc) const {
    const QImage& bitmap = CurrentBitmap();
    if (bitmap.isNull()) return;
    dc.drawImage(QPoint(X(), Y()), bitmap, QRect(0, 0, Width(), Height()));
}

std::vector<int> BitmapWidget::BitmapNumbers() const {
    return {portrait_.bitmap, landscape_.bitmap};
}

bool BitmapWidget::HitTest(int px, int py) const {
    return X() < px && px < X() + Width() && Y() < py && py < Y() + Height();
}

PushWidget::PushWidget(QString id, QWidget* window, int orientation, WidgetPlacement portrait, int pressedPortrait,
                       WidgetPlacement landscape, int pressedLandscape)
    : BitmapWidget(std::move(id), orientation, portrait, landscape),
      window_(window),
      pressedPortraitNumber_(pressedPortrait),
      pressedLandscapeNumber_(pressedLandscape),
      pressedPortrait_(LoadProgramBitmap(pressedPortrait)),
      pressedLandscape_(LoadProgramBitmap(pressedLandscape)) {}

const QImage& PushWidget::PortraitBitmap() const {
    return pressed_ ? PressedPortraitBitmap() : BitmapWidget::PortraitBitmap();
}

const QImage& PushWidget::LandscapeBitmap() const {
    return pressed_ ? PressedLandscapeBitmap() : BitmapWidget::LandscapeBitmap();
}

void PushWidget::Press() {
    if (pressed_) return;
    pressed_ = true;
    Repaint();
}

void PushWidget::Release() {
    if (!pressed_) return;
    pressed_ = false;
    Repaint();
}

std::vector<int> PushWidget::BitmapNumbers() const {
    std::vector<int> numbers = BitmapWidget::BitmapNumbers();
    numbers.push_back(pressedPortraitNumber_);
    numbers.push_back(pressedLandscapeNumber_);
    return numbers;
}

void PushWidget::Repaint() const {
    if (window_ != nullptr) window_->repaint(Rect());
}

ToggleWidget::ToggleWidget(QString id, QWidget* window, int orientation, WidgetPlacement portrait, int pressedPortrait,
                           WidgetPlacement landscape, int pressedLandscape, ToggleOnBitmaps on)
    : PushWidget(std::move(id), window, orientation, portrait, pressedPortrait, landscape, pressedLandscape),
      onNumbers_(on),
      onPortrait_(LoadProgramBitmap(on.portrait)),
      onLandscape_(LoadProgramBitmap(on.landscape)),
      onPressedPortrait_(LoadProgramBitmap(on.pressedPortrait)),
      onPressedLandscape_(LoadProgramBitmap(on.pressedLandscape)) {}

const QImage& ToggleWidget::PortraitBitmap() const {
    if (!on_) return PushWidget::PortraitBitmap();
    return Pressed() ? PressedPortraitBitmap() : onPortrait_;
}

const QImage& ToggleWidget::LandscapeBitmap() const {
    if (!on_) return PushWidget::LandscapeBitmap();
    return Pressed() ? PressedLandscapeBitmap() : onLandscape_;
}

void ToggleWidget::Press() {
    pending_ = true;
    PushWidget::Press();
}

void ToggleWidget::Release() {
    if (pending_) {
        pending_ = false;
        on_ ^= 1;
    }
    PushWidget::Release();
}

const QImage& ToggleWidget::PressedPortraitBitmap() const {
    return on_ ? onPressedPortrait_ : PushWidget::PressedPortraitBitmap();
}

const QImage& ToggleWidget::PressedLandscapeBitmap() const {
    return on_ ? onPressedLandscape_ : PushWidget::PressedLandscapeBitmap();
}

std::vector<int> ToggleWidget::BitmapNumbers() const {
    std::vector<int> numbers = PushWidget::BitmapNumbers();
    numbers.insert(numbers.end(), {onNumbers_.portrait, onNumbers_.landscape, onNumbers_.pressedPortrait,
                                   onNumbers_.pressedLandscape});
    return numbers;
}

TextWidget::TextWidget(QString id, QWidget* window, int orientation, WidgetPlacement portrait,
                       WidgetPlacement landscape)
    : BitmapWidget(std::move(id), orientation, portrait, landscape), window_(window) {}

void TextWidget::SetText(std::u16string_view text) {
    const std::u16string_view cut = text.substr(0, kMaxTextChars);
    if (cut == text_) return;
    text_ = cut;
    if (window_ != nullptr) window_->repaint(Rect());
}

void TextWidget::Draw(QPainter& dc) const {
    BitmapWidget::Draw(dc);
    const QString text = QString::fromStdU16String(text_);
    if (IsPortrait()) {
        dc.drawText(Rect(), Qt::AlignCenter | Qt::TextSingleLine, text);
        return;
    }
    // The widget's portrait shape, so the text runs along the turned widget.
    Bitmap24 upright(Height() - 2 * kTextInsetPx, Width() - 2 * kTextInsetPx);
    if (upright.Empty()) return;
    upright.Fill(0x00FFFFFF);
    {
        QImage image = ImageOnBitmap(upright);
        QPainter painter(&image);
        painter.setFont(dc.font());
        painter.setPen(dc.pen());
        painter.drawText(image.rect(), Qt::AlignCenter | Qt::TextSingleLine, text);
    }
    Bitmap24 turned(upright.Height(), upright.Width());
    RotatedBlt(turned, 0, 0, turned.Width(), turned.Height(), upright, RasterOp::Copy);
    dc.drawImage(QPoint(X() + kTextInsetPx, Y() + kTextInsetPx), ImageOnBitmap(std::as_const(turned)));
}
