// The program's start-up, message loop and shutdown.
#pragma once

#include "app/model/configuration.h"
#include "app/shell/app_state.h"
#include "handheld/shell/resource_library.h"

// Runs the program on the handheld home already opened, inside the QApplication already made. Ends at
// once with 0, showing nothing, when the button or the help library cannot be loaded.
int RunProgram();

// The button library of the running program (null before start-up and after shutdown).
handheld::HMODULE ButtonLibrary();

// The stored settings as the program holds them while it runs, and back for writing at the end.
void TakeSettings(AppState& state, const ApplicationSettings& settings);
ApplicationSettings SettingsOf(const AppState& state);
