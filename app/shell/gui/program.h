// The program's start-up, message loop and shutdown.
#pragma once

#include <functional>
#include <string>

#include "app/model/configuration.h"
#include "app/shell/app_state.h"
#include "handheld/shell/resource_library.h"

class MainWindow;

struct ProgramOptions {
    // The handheld's screen alone, 1:1, without the desktop frame (and filling the display when fullScreen).
    bool bare = false;
    bool fullScreen = false;
    // Every code sent is appended here as one JSON line (empty: no log).
    std::string irLogPath;
    // Message boxes as Qt boxes on the handheld's screen (tests keep their own presenter).
    bool qtMessageBoxes = true;
    // Called once the first panel is shown, just before the message loop (tests, benchmarks).
    std::function<void(MainWindow&)> started;
};

inline constexpr int kSecondInstanceExitCode = -1;

// Runs the program on the handheld home already opened, inside the QApplication already made. Ends at
// once with 0, showing nothing, when the button or the help library cannot be loaded; with -1 when the
// program already runs on this handheld (which is brought to the front).
int RunProgram(const ProgramOptions& options = {});

// The button library of the running program (null before start-up and after shutdown).
handheld::HMODULE ButtonLibrary();

// The stored settings as the program holds them while it runs, and back for writing at the end.
void TakeSettings(AppState& state, const ApplicationSettings& settings);
ApplicationSettings SettingsOf(const AppState& state);
