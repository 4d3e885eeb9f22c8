// How a dialog asks for its hint pop-up. The main window shows hints; until it listens, requests go to the
// handler installed here (tests watch them through it).
#pragma once

#include <functional>

class QWidget;

using HintHandler = std::function<void(QWidget* dialog, int hint, int secondHint)>;
HintHandler SetHintHandler(HintHandler handler);

// Passes the request on only when hints are switched on (bit 0 of the program's option flags).
void RequestHint(QWidget* dialog, int hint, int secondHint = 0);
