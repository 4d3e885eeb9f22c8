#include "app/shell/gui/program.h"

#include <QApplication>
#include <cstdio>
#include <memory>

#include "app/model/configuration.h"
#include "app/panel/qt_pixels.h"
#include "app/shell/app_state.h"
#include "app/shell/gui/main_window.h"
#include "app/shell/language_table.h"
#include "app/shell/stored_files.h"
#include "handheld/shell/desktop_frame.h"
#include "handheld/shell/input_recorder.h"
#include "handheld/shell/qt_message_box.h"

namespace {
handheld::HMODULE g_buttonLibrary = nullptr;

}  // namespace

void TakeSettings(AppState& state, const ApplicationSettings& settings) {
    state.optionFlags = settings.optionFlags;
    state.currentDevice = settings.currentDevice;
    state.shownDevices = settings.shownDevices;
    state.portName = settings.portName;
    state.buttonRotation = settings.buttonRotation;
}

ApplicationSettings SettingsOf(const AppState& state) {
    ApplicationSettings settings;
    settings.optionFlags = state.optionFlags;
    settings.currentDevice = state.currentDevice;
    settings.shownDevices = state.shownDevices;
    settings.portName = state.portName;
    settings.buttonRotation = state.buttonRotation;
    return settings;
}

handheld::HMODULE ButtonLibrary() {
    return g_buttonLibrary;
}

int RunProgram() {
    const std::u16string& folder = GetProgramFolder();
    LanguageTable::Instance().LoadLanguageFile(folder + u"\\Orvane.lng");

    const auto buttonLibrary = handheld::ResourceLibrary::Load(folder + u"\\KRBtnLib.dll");
    const auto helpLibrary = handheld::ResourceLibrary::Load(folder + u"\\KRHelpLib.dll");
    if (!buttonLibrary || !helpLibrary) {
        // Without its pictures the program cannot draw a single button. The handheld shows nothing; the host
        // console gets one line, as a home made before the libraries existed would otherwise just vanish.
        std::fprintf(stderr, "orvane: %s missing or damaged in the program folder; ending\n",
                     buttonLibrary ? "KRHelpLib.dll" : "KRBtnLib.dll");
        LanguageTable::Instance().Clear();
        return 0;
    }
    g_buttonLibrary = buttonLibrary.get();
    const auto previousPresenter = handheld::InstallQtMessageBoxPresenter();

    int exitCode = 0;
    {
        const LibraryArtwork artwork(buttonLibrary.get());
        AppState& state = TheAppState();
        DevicePanels panels;
        handheld::InputRecorder inputRecorder;
        handheld::DesktopFrame frame;
        handheld::HandheldScreen* screen = frame.Screen();
        MainWindow mainWindow(state, panels, artwork, screen->orientation(), screen);
        QObject::connect(screen, &handheld::HandheldScreen::ScreenTurned, &mainWindow,
                         [&mainWindow](handheld::Orientation orientation) { mainWindow.SetOrientation(orientation); });
        QObject::connect(&mainWindow, &MainWindow::ExitRequested, &frame, &QWidget::close);

        ApplicationSettings settings;
        ReadConfigurationAtStart(settings, state.mainWindow);
        TakeSettings(state, settings);
        if (state.currentDevice.empty() && !state.shownDevices.empty())
            state.currentDevice = state.shownDevices.front().deviceName;
        if (!state.currentDevice.empty()) mainWindow.Open(state.currentDevice);

        frame.show();
        exitCode = QApplication::exec();
        WriteConfiguration(SettingsOf(state));
    }

    handheld::SetMessageBoxPresenter(previousPresenter);
    g_buttonLibrary = nullptr;
    LanguageTable::Instance().Clear();
    return exitCode;
}
