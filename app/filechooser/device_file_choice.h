// Choosing a device file with the program's file chooser: ".kdr" files, starting in the device folder
// beside the program ("\Windows" when the program folder is unknown).
#pragma once

#include <QString>

class QWidget;

// The chosen file's handheld path, or an empty text when the user cancelled.
QString ChooseDeviceFile(QWidget* owner);
