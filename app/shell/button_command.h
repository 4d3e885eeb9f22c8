// The panel window's way of sending a button's command: the button of the open device, with the shown
// device's button sound; a missing record is reported in a box owned by the main window.
#pragma once

#include <string_view>

struct AppState;

// Null: the button last pressed on the panel.
void SendButtonCommand(const char16_t* buttonName);
// The same on a given state (the program's one state, or a test's).
void SendButtonCommand(AppState& app, std::u16string_view button);
