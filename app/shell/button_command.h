// The panel window's way of sending a button's command: the button of the open device, with the shown
// device's button sound; a missing record is reported in a box owned by the main window.
#pragma once

// Null: the button last pressed on the panel.
void SendButtonCommand(const char16_t* buttonName);
