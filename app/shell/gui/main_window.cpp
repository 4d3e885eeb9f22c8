#include "app/shell/gui/main_window.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/panel/background_picture.h"
#include "app/panel/qt_pixels.h"
#include "handheld/shell/hwnd.h"

namespace {

const QColor kBackgroundGrey(198, 198, 198);
// The panel window's place: below the title row in portrait, right of it in landscape.
const QRect kPanelPortrait(0, 25, 240, 270);
const QRect kPanelLandscape(25, 0, 270, 240);
const QRect kCcfPanelPortrait(0, 50, 240, 240);
const QRect kCcfPanelLandscape(50, 0, 240, 240);

int WidgetOrientation(handheld::Orientation orientation) {
    return orientation == handheld::Orientation::Portrait ? kOrientationPortrait : kOrientationLandscape;
}

}  // namespace

MainWindow::MainWindow(AppState& state, DevicePanels& panels, const ButtonArtwork& library,
                       handheld::Orientation orientation, QWidget* parent)
    : QWidget(parent),
      state_(state),
      panels_(panels),
      orientation_(orientation),
      widgets_(this, WidgetOrientation(orientation)),
      panel_(new PanelWindow(state, panels, this)) {
    setObjectName(QStringLiteral("MainWindow"));
    state_.mainWindow = handheld::ToHwnd(this);
    opening_.library = &library;
    opening_.panelWindow = handheld::ToHwnd(panel_);
    opening_.loadPicture = [this](SkinPanel& panel, std::u16string_view path) {
        return LoadBackgroundPicture(panel, handheld::ToHwnd(panel_), path);
    };
    opening_.repaint = [this] {
        panel_->update();
        update();
    };
    opening_.callback = [this](int kind) {
        ccfShown_ = kind == 1;
        PlacePanel();
    };
    SetOrientation(orientation);
}

void MainWindow::SetOrientation(handheld::Orientation orientation) {
    orientation_ = orientation;
    widgets_.SetOrientation(WidgetOrientation(orientation));
    panel_->SetOrientation(WidgetOrientation(orientation));
    setFixedSize(handheld::ScreenSize(orientation));
    PlacePanel();
    update();
}

void MainWindow::PlacePanel() {
    const bool portrait = orientation_ == handheld::Orientation::Portrait;
    if (ccfShown_) {
        panel_->setGeometry(portrait ? kCcfPanelPortrait : kCcfPanelLandscape);
    } else {
        panel_->setGeometry(portrait ? kPanelPortrait : kPanelLandscape);
    }
    panel_->update();
}

bool MainWindow::Open(std::u16string_view name) {
    const bool opened = OpenDevice(name, state_, panels_, opening_);
    if (opened) {
        state_.currentDevice = name;
        // Written here rather than while painting: a new text repaints the widget at once.
        widgets_.deviceName.SetText(state_.currentDevice);
        ShowDeviceSettings();
    }
    return opened;
}

void MainWindow::ShowDeviceSettings() {
    const DeviceSettings* settings = state_.CurrentDeviceSettings();
    widgets_.sound.SetOn(settings != nullptr && (settings->flags & DeviceSettings::kButtonSounds));
    widgets_.function.SetOn(state_.functionPanelShown);
    update();
}

void MainWindow::StepDevice(int step) {
    const auto& shown = state_.shownDevices;
    if (shown.empty()) return;
    std::size_t index = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].deviceName == state_.currentDevice) index = i;
    }
    const int count = int(shown.size());
    const int next = ((int(index) + step) % count + count) % count;
    // Copied: opening may not keep the list's storage in place.
    const std::u16string name = shown[std::size_t(next)].deviceName;
    Open(name);
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackgroundGrey);
    painter.setPen(Qt::black);
    painter.setFont(CaptionFont());
    widgets_.Draw(painter);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int x = at.x(), y = at.y();
    if (widgets_.top.HitTest(x, y)) {
        widgets_.top.Press();
    } else if (widgets_.menu.HitTest(x, y)) {
        widgets_.menu.Press();
    } else if (widgets_.function.HitTest(x, y)) {
        if (state_.editMode) return;
        widgets_.function.Press();
        state_.functionPanelShown = !state_.functionPanelShown;
        panel_->update();
    } else if (widgets_.sound.HitTest(x, y)) {
        widgets_.sound.Press();
        if (DeviceSettings* settings = state_.CurrentDeviceSettings()) settings->flags ^= DeviceSettings::kButtonSounds;
    } else if (widgets_.previousDevice.HitTest(x, y)) {
        if (state_.editMode) return;
        widgets_.previousDevice.Press();
        StepDevice(-1);
    } else if (widgets_.nextDevice.HitTest(x, y)) {
        if (state_.editMode) return;
        widgets_.nextDevice.Press();
        StepDevice(1);
    }
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool exit = widgets_.top.Pressed() && widgets_.top.HitTest(at.x(), at.y());
    widgets_.ReleaseAll();
    if (exit) emit ExitRequested();
}
