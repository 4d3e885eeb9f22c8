// The frame of picture widgets around the panel window, each with its bitmaps and its portrait and landscape
// rectangle. What a tap on each one does belongs to the main window.
#pragma once

#include <vector>

#include "app/panel/bitmap_widgets.h"

class QPainter;

struct FrameWidgets {
    // Made once, with the orientation the screen has then; window is repainted on presses and new texts.
    FrameWidgets(QWidget* window, int orientation);

    BitmapWidget title;
    PushWidget top;
    PushWidget menu;
    ToggleWidget function;
    ToggleWidget sound;
    PushWidget previousDevice;
    PushWidget nextDevice;
    TextWidget deviceName;
    PushWidget ccfButton1;
    PushWidget ccfPriorPanel;
    PushWidget ccfNextPanel;
    TextWidget ccfName;

    // Every widget in the order the frame draws them.
    std::vector<BitmapWidget*> All();
    void SetOrientation(int orientation);
    // Draws every widget onto a painter whose pen and font are the text widgets'.
    void Draw(QPainter& dc);
    // Releases every pressed widget (any stylus lift).
    void ReleaseAll();
};
