#include "app/shell/gui/main_window.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "app/model/device_library.h"
#include "app/model/gui/device_manager_dialog.h"
#include "app/panel/background_picture.h"
#include "app/panel/program_menu.h"
#include "app/panel/qt_pixels.h"
#include "app/shell/gui/about_box.h"
#include "app/shell/gui/device_name_list.h"
#include "app/shell/hint_request.h"
#include "app/shell/program_hooks.h"
#include "app/shell/stored_files.h"
#include "ccf/api/tessaly.h"
#include "handheld/shell/hardware_key_map.h"
#include "handheld/shell/hwnd.h"
#include "handheld/shell/popup_menu.h"
#include "handheld/trace.h"

namespace {

const QColor kBackgroundGrey(198, 198, 198);
// The panel window's place: below the title row in portrait, right of it in landscape.
const QRect kPanelPortrait(0, 25, 240, 270);
const QRect kPanelLandscape(25, 0, 270, 240);
const QRect kCcfPanelPortrait(0, 50, 240, 240);
const QRect kCcfPanelLandscape(50, 0, 240, 240);

MainWindow* g_current = nullptr;

// The viewer library's name callback carries no context: names collected for the CCF pop-up land here.
std::vector<std::u16string>* g_ccfNames = nullptr;

void AddCcfName(const char16_t* name) {
    if (!g_ccfNames || !name) return;
    std::u16string copied(name);
    // Each name once, even when several devices share it (the first of them is the one shown).
    if (std::find(g_ccfNames->begin(), g_ccfNames->end(), copied) == g_ccfNames->end()) {
        g_ccfNames->push_back(std::move(copied));
    }
}

int WidgetOrientation(handheld::Orientation orientation) {
    return orientation == handheld::Orientation::Portrait ? kOrientationPortrait : kOrientationLandscape;
}

// WM_USER + 1 as it waits in the queue.
class HintRequestEvent : public QEvent {
public:
    static QEvent::Type Kind() {
        static const auto kind = QEvent::Type(QEvent::registerEventType(QEvent::User + 1));
        return kind;
    }
    HintRequestEvent(handheld::HWND dialog, long hints) : QEvent(Kind()), dialog(dialog), hints(hints) {}
    handheld::HWND dialog;
    long hints;
};

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
    g_current = this;
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
    opening_.closeCcfView = [] {
        if (TheProgramHooks().closeCcfView) TheProgramHooks().closeCcfView();
    };
    opening_.showCcf = [](std::u16string_view path, handheld::HWND parent) {
        return TheProgramHooks().showCcf && TheProgramHooks().showCcf(path, parent);
    };
    opening_.refreshHardwareKeys = [](const Device& device) {
        if (TheProgramHooks().refreshHardwareKeys) TheProgramHooks().refreshHardwareKeys(device);
    };
    SetDeviceOpener([this](handheld::HWND, std::u16string_view name, ::MenuStateCallback callback) {
        opening_.callback = callback;
        const bool opened = Open(name);
        opening_.callback = nullptr;
        return opened;
    });
    SetMessagePoster([](handheld::HWND window, int message, handheld::HWND dialog, long hints) {
        if (message != kHintRequestMessage) return;
        if (QWidget* target = handheld::FromHwnd(window)) {
            QCoreApplication::postEvent(target, new HintRequestEvent(dialog, hints));
        }
    });
    CCFSetChangeDeviceCallback(&MainWindow::CcfDeviceShown);
    LoadMenu();
    SetOrientation(orientation);
    // On the handheld's screen the window follows its turns (the settings change 0x3002).
    if (auto* screen = qobject_cast<handheld::HandheldScreen*>(parent)) {
        connect(screen, &handheld::HandheldScreen::ScreenTurned, this, &MainWindow::SetOrientation);
    }
}

MainWindow::~MainWindow() {
    SetMessagePoster(nullptr);
    SetDeviceOpener(nullptr);
    if (state_.mainWindow == handheld::ToHwnd(this)) state_.mainWindow = nullptr;
    if (g_current == this) g_current = nullptr;
}

MainWindow* MainWindow::Current() {
    return g_current;
}

void MainWindow::CcfDeviceShown(const char16_t* name) {
    // The name lives only during this call: the text widget keeps its own copy.
    if (g_current) g_current->widgets_.ccfName.SetText(name ? std::u16string_view(name) : std::u16string_view());
}

void MainWindow::MenuStateCallback(int kind) {
    if (g_current) g_current->ApplyMenuState(kind);
}

void MainWindow::ApplyMenuState(int kind) {
    ccfShown_ = kind == 1;
    for (int command : {kCommandSettings, kCommandHardwareButtons, kCommandEditMode}) {
        MenuItem(*menu_, command)->setEnabled(!ccfShown_);
    }
    PlacePanel();
}

void MainWindow::LoadMenu() {
    menu_ = LoadProgramMenu(kMainMenu, this);
    QMenu* portMenu = menu_->findChild<QMenu*>(QLatin1String(kIrPortMenuName));
    ports_ = BuildPortMenu(EnumeratePorts(), state_.portName);
    for (std::size_t i = 1; i < ports_.itemTexts.size(); ++i) {
        QAction* item = portMenu->addAction(QString::fromStdU16String(ports_.itemTexts[i]));
        item->setObjectName(QString::number(kPortMenuFirstCommand + i));
    }
    for (QAction* item : portMenu->actions()) item->setCheckable(true);
    SyncPortChecks();
    MenuItem(*menu_, kCommandNormalMode)->setCheckable(true);
    MenuItem(*menu_, kCommandEditMode)->setCheckable(true);
    MenuItem(*menu_, kCommandNormalMode)->setChecked(true);
}

void MainWindow::SyncPortChecks() {
    for (std::size_t i = 0; i < ports_.checked.size(); ++i) {
        if (QAction* item = MenuItem(*menu_, int(kPortMenuFirstCommand + i))) item->setChecked(ports_.checked[i]);
    }
}

void MainWindow::SetOrientation(handheld::Orientation orientation) {
    orientation_ = orientation;
    widgets_.SetOrientation(WidgetOrientation(orientation));
    panel_->SetOrientation(WidgetOrientation(orientation));
    setFixedSize(handheld::ScreenSize(orientation));
    // Edit mode exists in portrait only.
    if (orientation == handheld::Orientation::Landscape && state_.editMode) RunCommand(kCommandNormalMode);
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
    // Copied: the name may live in a list the opening changes.
    const std::u16string wanted(name);
    if (!opening_.callback) opening_.callback = &MainWindow::MenuStateCallback;
    ccfShown_ = false;
    // A viewer that fails to open reports no name: the last file's must not stay in the CCF row.
    widgets_.ccfName.SetText(u"");
    const bool opened = OpenDevice(wanted, state_, panels_, opening_);
    // Only an own device shown may be saved again: a failed opening or a CCF file must never write the
    // device left in memory over this name's (or another device's) file.
    if (!opened || ccfShown_) state_.device.path.clear();
    if (opened) {
        state_.currentDevice = wanted;
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
    // The device library's walk: no wrap-around at either end; it opens through the opener this window installed.
    const handheld::HWND ccfParent = handheld::ToHwnd(panel_);
    const bool opened =
        step > 0 ? NextDevice(ccfParent, &MainWindow::MenuStateCallback, state_.shownDevices, state_.currentDevice)
                 : PreviousDevice(ccfParent, &MainWindow::MenuStateCallback, state_.shownDevices, state_.currentDevice);
    if (opened) update();
}

void MainWindow::ChooseFromNameList() {
    std::vector<std::u16string> names;
    for (const DeviceSettings& settings : state_.shownDevices) names.push_back(settings.deviceName);
    std::u16string chosen;
    Modal([&] { chosen = ChooseDeviceName(this, names); });
    if (chosen.empty()) return;
    Open(chosen);
}

void MainWindow::ChooseCcfName() {
    std::vector<std::u16string> names;
    g_ccfNames = &names;
    CCFMakeDeviceAndMacroNameList(&AddCcfName);
    g_ccfNames = nullptr;
    std::u16string chosen;
    Modal([&] { chosen = ChooseDeviceName(this, names); });
    // Closing the list without a choice keeps what the viewer shows rather than emptying it.
    if (chosen.empty()) return;
    CCFShowDeviceOrMacro(chosen.c_str());
}

bool MainWindow::TakesInput() const {
    return modalDepth_ == 0 && QApplication::activeModalWidget() == nullptr &&
           QApplication::activePopupWidget() == nullptr;
}

template <class Run>
void MainWindow::Modal(Run run) {
    ++modalDepth_;
    run();
    --modalDepth_;
}

void MainWindow::HotKey(int id) {
    if (id == kNextDeviceHotKey) {
        if (TakesInput() && !state_.editMode) StepDevice(1);
        return;
    }
    for (const ButtonRecord& record : state_.device.records) {
        const int key = record.hardwareKey & 0xFF;
        if (key > 40 && key == id) {
            panel_->KeyDown(key);
            return;
        }
    }
}

void MainWindow::OpenMenu() {
    widgets_.menu.Press();
    const QRect button = widgets_.menu.Rect();
    const QSize size = menu_->sizeHint();
    // Portrait: the menu's bottom-right corner on the button's top-right; landscape: its top-right corner on
    // the button's top-left.
    const QPoint at = orientation_ == handheld::Orientation::Portrait
                          ? QPoint(button.right() + 1 - size.width(), button.top() - size.height())
                          : QPoint(button.left() - size.width(), button.top());
    QAction* chosen = nullptr;
    Modal([&] { chosen = handheld::TrackPopupMenu(*menu_, at, this); });
    widgets_.menu.Release();
    update();
    if (chosen) RunCommand(chosen->objectName().toInt());
}

void MainWindow::EnterEditMode() {
    if (orientation_ != handheld::Orientation::Portrait) return;
    state_.editMode = true;
    MenuItem(*menu_, kCommandEditMode)->setChecked(true);
    MenuItem(*menu_, kCommandNormalMode)->setChecked(false);
    MenuItem(*menu_, kCommandManageDevices)->setEnabled(false);
    panel_->update();
}

void MainWindow::LeaveEditMode() {
    if (state_.editMode) {
        panel_->DropMovingButton();
        if (!state_.device.path.empty()) SaveDevice(state_.device, true);
    }
    state_.editMode = false;
    MenuItem(*menu_, kCommandNormalMode)->setChecked(true);
    MenuItem(*menu_, kCommandEditMode)->setChecked(false);
    MenuItem(*menu_, kCommandManageDevices)->setEnabled(true);
    panel_->update();
}

void MainWindow::Close() {
    if (state_.editMode) LeaveEditMode();
    QMetaObject::invokeMethod(this, &MainWindow::ExitRequested, Qt::QueuedConnection);
}

void MainWindow::RunCommand(int command) {
    const ProgramHooks& hooks = TheProgramHooks();
    const auto position = command - int(kPortMenuFirstCommand);
    if (position >= 0 && position < int(ports_.itemTexts.size())) {
        ChoosePortItem(ports_, std::size_t(position), state_.portName);
        SyncPortChecks();
        return;
    }
    switch (command) {
        case kCommandSettings:
            if (hooks.settingsDialog) Modal([&] { hooks.settingsDialog(handheld::ToHwnd(this)); });
            break;
        case kCommandHardwareButtons:
            if (hooks.hardwareButtonsDialog) Modal([&] { hooks.hardwareButtonsDialog(handheld::ToHwnd(this)); });
            break;
        case kCommandManageDevices:
            Modal([&] {
                DeviceManagerDialog manager(this, state_, &MainWindow::MenuStateCallback);
                manager.Run();
            });
            widgets_.deviceName.SetText(state_.currentDevice);
            update();
            break;
        case kCommandNormalMode:
            LeaveEditMode();
            break;
        case kCommandEditMode:
            EnterEditMode();
            break;
        case kCommandAbout:
            Modal([&] { ShowAboutBox(this); });
            break;
        case kCommandHelp:
            Modal([&] { ShowHelp(this); });
            break;
        case kCommandExit:
            Close();
            break;
        default:
            break;
    }
}

bool MainWindow::event(QEvent* event) {
    // Keys registered with the platform's hot-key table arrive here, whichever widget has the focus.
    if (event->type() == handheld::HotKeyEvent::EventType()) {
        HotKey(static_cast<handheld::HotKeyEvent*>(event)->Id());
        return true;
    }
    if (event->type() == HintRequestEvent::Kind()) {
        const auto* request = static_cast<HintRequestEvent*>(event);
        ++hintRequests_;
        const int hint = int(request->hints >> 16 & 0xFFFF), second = int(request->hints & 0xFFFF);
        HH_TRACE("hints", "hint %d (then %d) asked for", hint, second);
        if (TheProgramHooks().showHint) TheProgramHooks().showHint(request->dialog, hint, second);
        return true;
    }
    return QWidget::event(event);
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
    if (x <= 1 && y <= 1 && TheProgramHooks().picturePopup) {
        Modal([&] { TheProgramHooks().picturePopup(handheld::ToHwnd(this)); });
    }
    if (widgets_.top.HitTest(x, y)) {
        widgets_.top.Press();
    } else if (widgets_.menu.HitTest(x, y)) {
        OpenMenu();
    } else if (widgets_.function.HitTest(x, y)) {
        if (state_.editMode) return;
        widgets_.function.Press();
        state_.functionPanelShown = !state_.functionPanelShown;
        panel_->update();
    } else if (widgets_.sound.HitTest(x, y)) {
        widgets_.sound.Press();
        if (DeviceSettings* settings = state_.CurrentDeviceSettings()) settings->flags ^= DeviceSettings::kButtonSounds;
    } else if (widgets_.previousDevice.HitTest(x, y)) {
        if (state_.editMode || !TakesInput()) return;
        widgets_.previousDevice.Press();
        StepDevice(-1);
    } else if (widgets_.nextDevice.HitTest(x, y)) {
        if (state_.editMode || !TakesInput()) return;
        widgets_.nextDevice.Press();
        StepDevice(1);
    } else if (widgets_.deviceName.HitTest(x, y)) {
        if (state_.editMode || !TakesInput()) return;
        ChooseFromNameList();
    } else if (ccfShown_) {
        // The CCF row is only uncovered while a CCF file is shown.
        if (widgets_.ccfButton1.HitTest(x, y)) {
            widgets_.ccfButton1.Press();
        } else if (widgets_.ccfPriorPanel.HitTest(x, y)) {
            widgets_.ccfPriorPanel.Press();
            CCFShowDevicePriorPanel();
        } else if (widgets_.ccfNextPanel.HitTest(x, y)) {
            widgets_.ccfNextPanel.Press();
            CCFShowDeviceNextPanel();
        } else if (widgets_.ccfName.HitTest(x, y) && TakesInput()) {
            ChooseCcfName();
        }
    }
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool exit = widgets_.top.Pressed() && widgets_.top.HitTest(at.x(), at.y());
    // The home device comes on pen up over the button, as the top button's exit does.
    const bool home = widgets_.ccfButton1.Pressed() && widgets_.ccfButton1.HitTest(at.x(), at.y());
    widgets_.ReleaseAll();
    if (home && ccfShown_) CCFShowHomeDeviceOrMacro();
    if (exit) Close();
}
