// The About box and the help page, both inside the handheld's screen.
#pragma once

class QWidget;

// Modal: the program's pictures 149, 150 and 152, its short name and version.
void ShowAboutBox(QWidget* owner);
// Modal: the help page "Orvane.htm" of the program folder (or, without one there, the \Windows copy the
// installer writes in the chosen language), shown in a help viewer filling the screen.
void ShowHelp(QWidget* owner);
