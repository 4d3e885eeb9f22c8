#include "app/panel/panel_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/panel/program_menu.h"
#include "app/shell/button_command.h"
#include "app/shell/program_hooks.h"
#include "handheld/shell/hwnd.h"
#include "handheld/shell/input_recorder.h"
#include "handheld/shell/popup_menu.h"
#include "handheld/shell/tap_and_hold.h"

namespace {

constexpr int kRepaintMarginPx = 10;
constexpr int kMenuBelowTapPx = 21;
constexpr QRgb kMovingFrameColor = 0xFF0000;  // red
constexpr int kMovingFrameWidthPx = 2;
constexpr int kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28;

QRect ToQRect(const PixelRect& rect) {
    return QRect(rect.x, rect.y, rect.width, rect.height);
}

}  // namespace

Bitmap24 PaintedPanel(const SkinPanel& panel, int orientation, bool normalMode, const TextPainter* text) {
    const bool landscape = orientation == kOrientationLandscape;
    Bitmap24 pixels(landscape ? kPictureHeightPx : kPictureWidthPx, landscape ? kPictureWidthPx : kPictureHeightPx);
    DeviceContext dc{pixels, orientation, text};
    PaintPanel(panel, dc, normalMode);
    return pixels;
}

QImage ToRgbImage(const Bitmap24& pixels) {
    return ImageOnBitmap(pixels).convertToFormat(QImage::Format_RGB888);
}

PanelWindow::PanelWindow(AppState& state, DevicePanels& panels, QWidget* parent)
    : QWidget(parent), state_(state), panels_(panels), gesture_(new handheld::TapAndHold(this, [this](QPoint at) {
          return state_.editMode && MenuMayFollow(ToPortrait(at));
      })) {
    setObjectName(QStringLiteral("DeviceWindow"));
    setFocusPolicy(Qt::StrongFocus);
    connect(gesture_, &handheld::TapAndHold::Held, this, &PanelWindow::Held);
}

void PanelWindow::SetOrientation(int orientation) {
    orientation_ = orientation;
    update();
}

const SkinPanel& PanelWindow::ShownPanel() const {
    return state_.functionPanelShown ? panels_.functionPanel : panels_.mainPanel;
}

QPoint PanelWindow::ToPortrait(QPoint windowPoint) const {
    if (orientation_ != kOrientationLandscape) return windowPoint;
    // The landscape panel is the portrait one turned counter-clockwise.
    return QPoint(kPortraitWidthPx - 1 - windowPoint.y(), windowPoint.x());
}

bool PanelWindow::DeviceIsEditable() const {
    return state_.device.deviceType == DT_CUSTOM && !state_.functionPanelShown;
}

FaceButton* PanelWindow::MovingMainButton() {
    FaceButton* button = panels_.mainPanel.FindButton(state_.pressedName);
    return button && button->moving ? button : nullptr;
}

void PanelWindow::paintEvent(QPaintEvent* event) {
    Bitmap24 shown(width(), height());
    DeviceContext dc{shown, orientation_, &text_};
    const SkinPanel& panel = ShownPanel();
    const bool pressOnly = std::exchange(pressOnly_, false);
    if (pressOnly && pressedLook_ && pressedRect_.contains(event->region().boundingRect())) {
        // Just the pressed button, drawn straight over its background: the send waits for this paint.
        RedrawButton(panel, dc, STATE_PRESSED, state_.pressedName);
        QPainter(this).drawImage(pressedRect_, ImageOnBitmap(std::as_const(shown)), pressedRect_);
        return;
    }
    PaintPanel(panel, dc, !state_.editMode);
    if (pressedLook_ && !state_.editMode) RedrawButton(panel, dc, STATE_PRESSED, state_.pressedName);
    QPainter painter(this);
    painter.drawImage(0, 0, ImageOnBitmap(std::as_const(shown)));
    if (!state_.editMode || state_.pressedName.empty()) return;
    const FaceButton* button = panel.FindButton(state_.pressedName);
    if (button == nullptr || !button->moving) return;
    const QRect frame = ToQRect(OrientedRect(button->GetRect(), orientation_));
    painter.setPen(QPen(QColor(kMovingFrameColor), kMovingFrameWidthPx));
    painter.drawPolyline(QPolygon({frame.topLeft() + QPoint(0, 0), QPoint(frame.x() + frame.width(), frame.y()),
                                   QPoint(frame.x() + frame.width(), frame.y() + frame.height()),
                                   QPoint(frame.x(), frame.y() + frame.height()), frame.topLeft()}));
}

void PanelWindow::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    lastTap_ = ToPortrait(event->position().toPoint());
    if (state_.editMode) {
        EditPress();
        return;
    }
    state_.pressedName = ShownPanel().ButtonNameAt(lastTap_.x(), lastTap_.y());
    if (state_.pressedName.empty()) return;
    SendPressed();
}

void PanelWindow::SendPressed() {
    pressedLook_ = true;
    // Painted and flushed now: the send holds the user-interface thread until the signal has been played.
    if (const FaceButton* button = ShownPanel().FindButton(state_.pressedName)) {
        pressedRect_ = ToQRect(OrientedRect(button->GetRect(), orientation_)).intersected(rect());
        pressOnly_ = true;
        repaint(pressedRect_);
    }
    // Input arriving while the code plays is recorded (so the stylus state stays true for the repeats) and
    // delivered afterwards.
    handheld::InputRecorder::BusySection busy;
    SendButtonCommand(state_, state_.pressedName);
}

void PanelWindow::EditPress() {
    const std::u16string previous = state_.pressedName;
    state_.pressedName = ShownPanel().ButtonNameAt(lastTap_.x(), lastTap_.y());
    menuPending_ = false;
    FaceButton* moving = panels_.mainPanel.FindButton(previous);
    if (moving && moving->moving) {
        if (state_.pressedName != previous) {
            Drop(*moving);
        } else {
            grabOffset_ = lastTap_ - QPoint(moving->x, moving->y);
        }
        return;
    }
    if (state_.pressedName.empty() && !DeviceIsEditable()) return;
    // Held long enough the press becomes the menu; let go earlier it opens the button's properties.
    menuPending_ = true;
}

bool PanelWindow::MenuMayFollow(QPoint portraitPoint) const {
    if (const FaceButton* moving = panels_.mainPanel.FindButton(state_.pressedName); moving && moving->moving) {
        return false;
    }
    const bool onButton = !ShownPanel().ButtonNameAt(portraitPoint.x(), portraitPoint.y()).empty();
    return onButton || DeviceIsEditable();
}

void PanelWindow::Held(QPoint windowPoint) {
    menuPending_ = false;
    lastTap_ = ToPortrait(windowPoint);
    state_.pressedName = ShownPanel().ButtonNameAt(lastTap_.x(), lastTap_.y());
    update();
    const bool onButton = !state_.pressedName.empty();
    const auto menu = LoadProgramMenu(onButton ? kButtonMenu : kSkinMenu, this);
    if (onButton) {
        MenuItem(*menu, kCommandMove)->setEnabled(DeviceIsEditable());
        MenuItem(*menu, kCommandDelete)->setEnabled(DeviceIsEditable());
    }
    if (FaceButton* button = panels_.mainPanel.FindButton(state_.pressedName)) button->moving = false;
    grabOffset_ = QPoint(0, 0);
    QAction* chosen =
        handheld::TrackPopupMenu(*menu, QPoint(lastTap_.x(), lastTap_.y() + kMenuBelowTapPx), parentWidget());
    if (chosen) RunCommand(chosen->objectName().toInt());
}

void PanelWindow::RunCommand(int command) {
    const ProgramHooks& hooks = TheProgramHooks();
    switch (command) {
        case kCommandProperties:
            if (hooks.buttonProperties) hooks.buttonProperties(handheld::ToHwnd(this));
            update();
            break;
        case kCommandMove:
            if (panels_.mainPanel.BringToFront(state_.pressedName)) {
                RepaintAround(panels_.mainPanel.FindButton(state_.pressedName)->GetRect());
            }
            break;
        case kCommandDelete: {
            if (state_.pressedName.empty()) break;
            const FaceButton* button = panels_.mainPanel.FindButton(state_.pressedName);
            if (button == nullptr) break;
            const PixelRect rect = button->GetRect();
            if (panels_.mainPanel.RemoveButton(state_.pressedName)) {
                const auto record = state_.device.FindRecord(state_.pressedName);
                if (record != state_.device.records.end()) state_.device.records.erase(record);
            }
            RepaintAround(rect);
            break;
        }
        case kCommandAddButton:
            if (hooks.addButton) hooks.addButton(handheld::ToHwnd(this), lastTap_.x(), lastTap_.y());
            update();
            break;
        default:
            break;
    }
}

void PanelWindow::Drop(FaceButton& button) {
    button.moving = false;
    const auto record = state_.device.FindRecord(button.name);
    if (record != state_.device.records.end()) {
        record->x = std::uint16_t(button.x);
        record->y = std::uint16_t(button.y);
    }
    RepaintAround(button.GetRect());
}

void PanelWindow::DropMovingButton() {
    if (FaceButton* moving = MovingMainButton()) Drop(*moving);
}

void PanelWindow::DragTo(QPoint portraitPoint) {
    FaceButton* button = MovingMainButton();
    if (button == nullptr) return;
    const PixelRect old = button->GetRect();
    int left = std::max(0, portraitPoint.x() - grabOffset_.x());
    int top = std::max(0, portraitPoint.y() - grabOffset_.y());
    if (left + button->width > kPictureWidthPx) left = kPictureWidthPx - button->width;
    if (top + button->height > kPictureHeightPx) top = kPictureHeightPx - button->height;
    button->SetPosition(left, top);
    RepaintAround(old);
    RepaintAround(button->GetRect());
}

void PanelWindow::RepaintAround(const PixelRect& portrait) {
    const PixelRect grown{portrait.x - kRepaintMarginPx, portrait.y - kRepaintMarginPx,
                          portrait.width + 2 * kRepaintMarginPx, portrait.height + 2 * kRepaintMarginPx};
    repaint(ToQRect(OrientedRect(grown, orientation_)).intersected(rect()));
}

void PanelWindow::mouseMoveEvent(QMouseEvent* event) {
    // Turned as presses are, so that a drag keeps to the frame of the press that grabbed the button.
    lastTap_ = ToPortrait(event->position().toPoint());
    if (state_.editMode) DragTo(lastTap_);
}

void PanelWindow::mouseReleaseEvent(QMouseEvent*) {
    grabOffset_ = state_.editMode ? grabOffset_ : QPoint(0, 0);
    if (state_.editMode) {
        const bool properties = menuPending_ && !state_.pressedName.empty();
        menuPending_ = false;
        if (properties) RunCommand(kCommandProperties);
        return;
    }
    ReleasePressed();
}

void PanelWindow::ReleasePressed() {
    grabOffset_ = QPoint(0, 0);
    if (state_.pressedName.empty()) return;
    pressedLook_ = false;
    repaint();
    state_.pressedName.clear();
}

void PanelWindow::keyPressEvent(QKeyEvent* event) {
    if (event->isAutoRepeat() && !state_.editMode) return;
    KeyDown(handheld::VirtualKeyOf(event->key()));
}

void PanelWindow::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;
    KeyUp();
}

void PanelWindow::KeyDown(int virtualKey) {
    if (virtualKey == 0) return;
    if (!state_.editMode) {
        const auto& records = state_.device.records;
        const auto mapped = std::find_if(records.begin(), records.end(), [virtualKey](const ButtonRecord& record) {
            return (record.hardwareKey & 0xFF) == virtualKey;
        });
        if (mapped == records.end()) return;
        // The previous button (if another) shows normal again before this one shows pressed.
        state_.pressedName = mapped->name;
        SendPressed();
        pressedLook_ = false;
        repaint();
        return;
    }
    const FaceButton* moving = MovingMainButton();
    if (moving == nullptr) return;
    QPoint point(moving->x + grabOffset_.x(), moving->y + grabOffset_.y());
    switch (virtualKey) {
        case kVkLeft:
            point.rx() -= 1;
            break;
        case kVkUp:
            point.ry() -= 1;
            break;
        case kVkRight:
            point.rx() += 1;
            break;
        case kVkDown:
            point.ry() += 1;
            break;
        default:
            return;
    }
    if (point.x() < 0 || point.y() < 0) return;
    DragTo(point);
}

void PanelWindow::KeyUp() {
    if (!state_.editMode) ReleasePressed();
}
