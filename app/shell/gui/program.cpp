#include "app/shell/gui/program.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/dialogs/hint_dialog.h"
#include "app/dialogs/picture_popup.h"
#include "app/dialogs/settings_dialog.h"
#include "app/hwkeys/gui/hardware_buttons_dialog.h"
#include "app/hwkeys/hardware_keys.h"
#include "app/ir/gui/button_properties_dialog.h"
#include "app/model/configuration.h"
#include "app/model/device_library.h"
#include "app/model/gui/device_manager_dialog.h"
#include "app/model/gui/hint_request.h"
#include "app/panel/qt_pixels.h"
#include "app/panel/select_button_dialog.h"
#include "app/shell/app_state.h"
#include "app/shell/gui/main_window.h"
#include "app/shell/hint_request.h"
#include "app/shell/ir_log.h"
#include "app/shell/language_table.h"
#include "app/shell/messages.h"
#include "app/shell/program_hooks.h"
#include "app/shell/stored_files.h"
#include "ccf/api/tessaly.h"
#include "driver/irdriver/lumbra.h"
#include "handheld/shell/desktop_frame.h"
#include "handheld/shell/hwnd.h"
#include "handheld/shell/input_recorder.h"
#include "handheld/shell/qt_message_box.h"
#include "handheld/shell/single_instance.h"

namespace {

handheld::HMODULE g_buttonLibrary = nullptr;

// Hands the program's hooks to the dialogs and services that fill them, for one run. A hook already set (a
// test watching it) is left as it is; the previous hooks come back at the end of the run.
class HookWiring {
public:
    HookWiring(AppState& state, DevicePanels& panels, const LibraryArtwork& artwork, MainWindow& mainWindow)
        : previous_(TheProgramHooks()), previousHintHandler_(SetHintHandler({})) {
        ProgramHooks& hooks = TheProgramHooks();
        const auto fill = [](auto& hook, auto wiring) {
            if (!hook) hook = std::move(wiring);
        };
        fill(hooks.settingsDialog, [&state, &panels, &mainWindow](handheld::HWND owner) {
            RunSettingsDialog(handheld::FromHwnd(owner), state, panels, [&mainWindow] { mainWindow.update(); });
        });
        fill(hooks.hardwareButtonsDialog, [this, &state](handheld::HWND owner) {
            RunHardwareButtonsDialog(handheld::FromHwnd(owner), state, buttons_);
        });
        fill(hooks.buttonProperties, [&state, &panels](handheld::HWND panelWindow) {
            RunButtonPropertiesDialog(handheld::FromHwnd(panelWindow), state, panels, state.pressedName);
        });
        fill(hooks.addButton, [&state, &panels, &artwork, &mainWindow](handheld::HWND panelWindow, int x, int y) {
            RunSelectButtonDialog(handheld::FromHwnd(panelWindow), state, panels, artwork, QPoint(x, y),
                                  [&mainWindow] { mainWindow.Panel()->RunCommand(kCommandMove); });
        });
        fill(hooks.showHint, [&state](handheld::HWND dialog, int hint, int secondHint) {
            ShowHint(handheld::FromHwnd(dialog), hint, secondHint, state);
        });
        fill(hooks.picturePopup, [](handheld::HWND owner) { ShowPicturePopup(handheld::FromHwnd(owner)); });
        fill(hooks.showCcf, [](std::u16string_view path, handheld::HWND parent) {
            const std::u16string terminated(path);
            return CCFInitUI(parent, terminated.c_str(), 0) != 0;
        });
        fill(hooks.closeCcfView, [] { CCFDeinitUI(); });
        fill(hooks.refreshHardwareKeys, [this](const Device& device) { SwitchDeviceKeys(buttons_.list, device); });
        fill(hooks.registerNextDeviceKey, [this, &state, &mainWindow](handheld::HWND) {
            StartHardwareButtons(buttons_, &mainWindow, state.device);
        });
        fill(hooks.unregisterNextDeviceKey, [this](handheld::HWND) { UnregisterAllKeys(buttons_.list); });
        // The dialogs' hint requests take the same way as the program's own: a message to the main window.
        SetHintHandler([&state](QWidget* dialog, int hint, int secondHint) {
            RequestHint(state, handheld::ToHwnd(dialog), hint, secondHint);
        });
    }
    ~HookWiring() {
        TheProgramHooks() = previous_;
        SetHintHandler(previousHintHandler_);
    }
    HookWiring(const HookWiring&) = delete;
    HookWiring& operator=(const HookWiring&) = delete;

private:
    ProgramHooks previous_;
    HintHandler previousHintHandler_;
    HardwareButtons buttons_;
};
// The program's string table: string 1 (the window title) and string 3 (the window class).
const QString kWindowTitle = QStringLiteral("Orvane");
const QString kWindowClass = QStringLiteral("ORVANE");
constexpr int kStartHint = 35;

}  // namespace

void TakeSettings(AppState& state, const ApplicationSettings& settings) {
    state.Settings() = settings;
}

ApplicationSettings SettingsOf(const AppState& state) {
    return state.Settings();
}

handheld::HMODULE ButtonLibrary() {
    return g_buttonLibrary;
}

int RunProgram(const ProgramOptions& options) {
    const handheld::SingleInstance instance(kWindowClass + QLatin1Char('.') + kWindowTitle);
    if (!instance.First()) return kSecondInstanceExitCode;

    const std::u16string& folder = GetProgramFolder();
    LanguageTable::Instance().LoadLanguageFile(folder + u"\\Orvane.lng");
    auto buttonLibrary = handheld::ResourceLibrary::Load(folder + u"\\KRBtnLib.dll");
    auto helpLibrary = handheld::ResourceLibrary::Load(folder + u"\\KRHelpLib.dll");
    if (!buttonLibrary || !helpLibrary) {
        // Without its pictures the program cannot draw a single button. The handheld shows nothing; the host
        // console gets one line, as a home made before the libraries existed would otherwise just vanish.
        std::fprintf(stderr, "orvane: %s missing or damaged in the program folder; ending\n",
                     buttonLibrary ? "KRHelpLib.dll" : "KRBtnLib.dll");
        LanguageTable::Instance().Clear();
        CLumbra::Destroy();
        return 0;
    }
    g_buttonLibrary = buttonLibrary.get();
    std::optional<handheld::MessageBoxPresenter> previousPresenter;
    if (options.qtMessageBoxes) previousPresenter = handheld::InstallQtMessageBoxPresenter();
    std::unique_ptr<IrLog> irLog;
    if (!options.irLogPath.empty()) {
        irLog = std::make_unique<IrLog>(options.irLogPath);
        if (!irLog->Open()) std::fprintf(stderr, "orvane: cannot append to %s\n", options.irLogPath.c_str());
    }

    AppState& state = TheAppState();
    bool configurationRead = false;
    {
        const LibraryArtwork artwork(buttonLibrary.get());
        DevicePanels panels;
        handheld::InputRecorder inputRecorder;
        std::unique_ptr<handheld::DesktopFrame> frame;
        std::unique_ptr<handheld::HandheldScreen> bareScreen;
        handheld::HandheldScreen* screen = nullptr;
        if (options.bare) {
            bareScreen = std::make_unique<handheld::HandheldScreen>();
            bareScreen->setWindowTitle(kWindowTitle);
            screen = bareScreen.get();
        } else {
            frame = std::make_unique<handheld::DesktopFrame>();
            screen = frame->Screen();
        }
        QWidget* topLevel = frame ? static_cast<QWidget*>(frame.get()) : bareScreen.get();
        MainWindow mainWindow(state, panels, artwork, screen->orientation(), screen);
        const HookWiring wiring(state, panels, artwork, mainWindow);
        QEventLoop loop;
        QObject::connect(&mainWindow, &MainWindow::ExitRequested, &loop, &QEventLoop::quit);
        QObject::connect(qApp, &QGuiApplication::lastWindowClosed, &loop, &QEventLoop::quit);
        QObject::connect(&instance, &handheld::SingleInstance::FrontRequested, topLevel, [topLevel] {
            topLevel->showNormal();
            topLevel->raise();
            topLevel->activateWindow();
        });
        if (irLog) irLog->Follow(state);
        if (options.fullScreen) {
            topLevel->showFullScreen();
        } else {
            topLevel->show();
        }

        // The configuration, then the device folder, which settles the shown list and the current name.
        ApplicationSettings settings;
        ReadConfigurationAtStart(settings, state.mainWindow);
        configurationRead = true;  // read or, when missing or damaged, taken as the defaults
        TakeSettings(state, settings);
        mainWindow.LoadMenu();
        const DeviceScan scan = ScanDeviceFolder(folder + u"\\Devices", state.shownDevices, state.currentDevice);
        ShowProblems(state.mainWindow, scan.problems);
        if (TheProgramHooks().registerNextDeviceKey) TheProgramHooks().registerNextDeviceKey(state.mainWindow);

        RunDeviceManagerWhenNothingShown(&mainWindow, state, &MainWindow::MenuStateCallback);
        if (!state.currentDevice.empty()) mainWindow.Open(state.currentDevice);
        RequestHint(state, state.mainWindow, kStartHint);
        if (options.started) options.started(mainWindow);

        loop.exec();

        // Leaving: a device being edited is saved, the CCF view goes before the windows it lives in.
        if (state.editMode) mainWindow.RunCommand(kCommandNormalMode);
        if (TheProgramHooks().closeCcfView) TheProgramHooks().closeCcfView();
        if (TheProgramHooks().unregisterNextDeviceKey) TheProgramHooks().unregisterNextDeviceKey(state.mainWindow);
        if (irLog) irLog->Stop();
    }

    if (previousPresenter) handheld::SetMessageBoxPresenter(*previousPresenter);
    helpLibrary.reset();
    g_buttonLibrary = nullptr;
    buttonLibrary.reset();
    LanguageTable::Instance().Clear();
    CLumbra::Destroy();
    // Only what this run read is written back: a start that never read the configuration must not replace
    // it with defaults.
    if (configurationRead) {
        if (const FileResult written = WriteConfiguration(SettingsOf(state)); !written) {
            std::fprintf(stderr, "orvane: the configuration could not be written\n");
        }
    }
    return 0;
}
