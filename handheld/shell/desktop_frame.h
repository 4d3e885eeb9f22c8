// The desktop frame: the window on the host that shows the handheld's screen, at an integer zoom, with a
// command that turns the handheld.
//
// The zoom is chosen before the application object exists (Qt scales every window of the process by it),
// so the handheld's pixels stay whole pixels and its dialogs and message boxes grow with it.
#pragma once

#include <QWidget>

#include "handheld/shell/screen.h"

namespace handheld {

inline constexpr int kDefaultDesktopZoom = 2;
inline constexpr int kMaxDesktopZoom = 6;

// Takes "--zoom N" (or "--zoom=N") out of argv and sets the process-wide scale, unless the user set
// QT_SCALE_FACTOR. Call before constructing the QApplication. Returns the zoom in use.
int TakeZoomOption(int& argc, char** argv);

class DesktopFrame : public QWidget {
    Q_OBJECT
public:
    DesktopFrame();

    HandheldScreen* Screen() const { return screen_; }
    // Turns the handheld (Ctrl+R).
    void Rotate();

private:
    void FitToScreen();
    HandheldScreen* screen_;
};

}  // namespace handheld
