// The desktop frame: the window on the host that shows the handheld's screen, at an integer zoom, with a
// command that turns the handheld (Ctrl+R), the handheld's application keys on F1 to F5 (the arrows and
// Enter reach the screen as they are), and the notification LED in a strip below the screen.
//
// The zoom is chosen before the application object exists (Qt scales every window of the process by it),
// so the handheld's pixels stay whole pixels and its dialogs and message boxes grow with it.
#pragma once

#include <QTimer>
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
    // Whether the first LED shines now, as the strip shows it.
    bool LedOn() const { return ledOn_; }

    static constexpr int kLedStripPx = 12;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FitToScreen();
    void ShowLed();
    HandheldScreen* screen_;
    QTimer ledTimer_;
    bool ledOn_ = false;
};

}  // namespace handheld
