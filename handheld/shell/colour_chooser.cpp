#include "handheld/shell/colour_chooser.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>

#include "handheld/shell/hwnd.h"

namespace handheld {

namespace {

// Six rows of eight: reds, yellows, greens, cyans, blues, magentas, with greys in the last row.
constexpr COLORREF kBasicPalette[48] = {
    0x8080FF, 0x80FFFF, 0x80FF80, 0x80FF00, 0xFFFF80, 0xFF8000, 0xC080FF, 0xFF80FF, 0x0000FF, 0x00FFFF,
    0x00FF80, 0x40FF00, 0xFFFF00, 0xC08000, 0xC08080, 0xFF00FF, 0x404080, 0x4080FF, 0x00FF00, 0x808000,
    0x804000, 0xFF8080, 0x400080, 0x8000FF, 0x000080, 0x0080FF, 0x008000, 0x408000, 0xFF0000, 0xA00000,
    0x800080, 0xFF0080, 0x000040, 0x004080, 0x004000, 0x404000, 0x800000, 0x400000, 0x400040, 0x800040,
    0x000000, 0x008080, 0x408080, 0x808080, 0x808040, 0xC0C0C0, 0x400040, 0xFFFFFF,
};

const ControlPlacement kPlacements[] = {
    {ColorChooserDialog::kOk, {164, 3, 36, 19}, {244, 3, 36, 19}},
    {ColorChooserDialog::kCancel, {202, 3, 36, 19}, {282, 3, 36, 19}},
    {ColorChooserDialog::kBasicColors, {8, 30, 224, 108}, {5, 30, 160, 84}},
    {ColorChooserDialog::kCustomColors, {8, 144, 224, 36}, {5, 120, 160, 28}},
    {ColorChooserDialog::kSample, {8, 190, 80, 64}, {175, 30, 140, 44}},
    {730, {100, 192, 48, 16}, {175, 82, 50, 16}},
    {731, {100, 214, 48, 16}, {175, 104, 50, 16}},
    {732, {100, 236, 48, 16}, {175, 126, 50, 16}},
    {ColorChooserDialog::kRed, {150, 190, 60, 20}, {230, 80, 60, 20}},
    {ColorChooserDialog::kGreen, {150, 212, 60, 20}, {230, 102, 60, 20}},
    {ColorChooserDialog::kBlue, {150, 234, 60, 20}, {230, 124, 60, 20}},
    {ColorChooserDialog::kAddCustom, {8, 262, 224, 22}, {175, 154, 140, 22}},
};

}  // namespace

std::array<COLORREF, 16>& RunCustomColors() {
    static std::array<COLORREF, 16> colors = [] {
        std::array<COLORREF, 16> white;
        white.fill(0x00FFFFFF);
        return white;
    }();
    return colors;
}

SwatchGrid::SwatchGrid(int columns, int rows, QWidget* parent)
    : QWidget(parent), columns_(columns), rows_(rows), colors_(static_cast<std::size_t>(columns * rows), 0xFFFFFF) {}

void SwatchGrid::SetColors(const COLORREF* colors, int count) {
    for (int i = 0; i < count && i < columns_ * rows_; ++i) colors_[static_cast<std::size_t>(i)] = colors[i];
    update();
}

void SwatchGrid::Select(int index) {
    selected_ = index;
    update();
}

QRect SwatchGrid::CellRect(int index) const {
    const int w = width() / columns_;
    const int h = height() / rows_;
    return {(index % columns_) * w, (index / columns_) * h, w, h};
}

void SwatchGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int i = 0; i < columns_ * rows_; ++i) {
        const QRect cell = CellRect(i).adjusted(2, 2, -2, -2);
        painter.fillRect(cell, ColorOf(colors_[static_cast<std::size_t>(i)]));
        painter.setPen(i == selected_ ? Qt::black : Qt::gray);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        if (i == selected_) painter.drawRect(cell.adjusted(-2, -2, 1, 1));
    }
}

void SwatchGrid::mousePressEvent(QMouseEvent* event) {
    const int w = width() / columns_;
    const int h = height() / rows_;
    if (w <= 0 || h <= 0) return;
    const int column = event->position().toPoint().x() / w;
    const int row = event->position().toPoint().y() / h;
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_) return;
    Select(row * columns_ + column);
    emit Chosen(selected_);
}

ColorChooserDialog::ColorChooserDialog(QWidget* owner, COLORREF initial, COLORREF* customColors)
    : HandheldDialog(owner, 0, QStringLiteral("Color")), customColors_(customColors) {
    auto named = [this](QWidget* widget, int id) {
        widget->setObjectName(QString::number(id));
        return widget;
    };
    auto* ok = static_cast<QPushButton*>(named(new QPushButton(QStringLiteral("OK"), this), kOk));
    auto* cancel = static_cast<QPushButton*>(named(new QPushButton(QStringLiteral("Cancel"), this), kCancel));
    auto* basic = static_cast<SwatchGrid*>(named(new SwatchGrid(8, 6, this), kBasicColors));
    basic->SetColors(kBasicPalette, 48);
    auto* custom = static_cast<SwatchGrid*>(named(new SwatchGrid(8, 2, this), kCustomColors));
    if (customColors_ != nullptr) custom->SetColors(customColors_, 16);
    auto* sample = static_cast<QLabel*>(named(new QLabel(this), kSample));
    sample->setAutoFillBackground(true);
    sample->setFrameStyle(QFrame::Box);
    const char* labels[] = {"Red:", "Green:", "Blue:"};
    for (int i = 0; i < 3; ++i) {
        named(new QLabel(QString::fromLatin1(labels[i]), this), 730 + i);
        auto* value = static_cast<QSpinBox*>(named(new QSpinBox(this), kRed + i));
        value->setRange(0, 255);
        connect(value, &QSpinBox::valueChanged, this, &ColorChooserDialog::ValuesEdited);
    }
    named(new QPushButton(QStringLiteral("Add to custom colors"), this), kAddCustom);
    AddPlacements(kPlacements);

    connect(basic, &SwatchGrid::Chosen, this, [this, basic, custom](int index) {
        custom->Select(-1);
        SetColor(basic->ColorAt(index));
    });
    connect(custom, &SwatchGrid::Chosen, this, [this, basic, custom](int index) {
        basic->Select(-1);
        nextCustom_ = index;
        SetColor(custom->ColorAt(index));
    });
    connect(Control<QPushButton>(kAddCustom), &QPushButton::clicked, this, &ColorChooserDialog::AddToCustomColors);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    SetColor(initial);
}

void ColorChooserDialog::SetColor(COLORREF color) {
    color_ = color & 0x00FFFFFF;
    updating_ = true;
    Control<QSpinBox>(kRed)->setValue(static_cast<int>(color_ & 0xFF));
    Control<QSpinBox>(kGreen)->setValue(static_cast<int>((color_ >> 8) & 0xFF));
    Control<QSpinBox>(kBlue)->setValue(static_cast<int>((color_ >> 16) & 0xFF));
    updating_ = false;
    QPalette palette = Control(kSample)->palette();
    palette.setColor(QPalette::Window, ColorOf(color_));
    Control(kSample)->setPalette(palette);
}

void ColorChooserDialog::ValuesEdited() {
    if (updating_) return;
    SetColor(static_cast<COLORREF>(Control<QSpinBox>(kRed)->value()) |
             (static_cast<COLORREF>(Control<QSpinBox>(kGreen)->value()) << 8) |
             (static_cast<COLORREF>(Control<QSpinBox>(kBlue)->value()) << 16));
}

void ColorChooserDialog::AddToCustomColors() {
    if (customColors_ == nullptr) return;
    customColors_[nextCustom_] = color_;
    auto* custom = Control<SwatchGrid>(kCustomColors);
    custom->SetColors(customColors_, 16);
    custom->Select(nextCustom_);
    nextCustom_ = (nextCustom_ + 1) % 16;
}

BOOL ChooseColorW(CHOOSECOLOR* request) {
    if (request == nullptr) return FALSE;
    const COLORREF initial = (request->flags & CC_RGBINIT) != 0 ? request->rgbResult : 0;
    ColorChooserDialog dialog(FromHwnd(request->owner), initial, request->customColors);
    if (dialog.Run() != QDialog::Accepted) return FALSE;
    request->rgbResult = dialog.Color();
    return TRUE;
}

}  // namespace handheld
