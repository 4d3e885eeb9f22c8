#include "app/panel/frame_widgets.h"

#include <QPainter>

FrameWidgets::FrameWidgets(QWidget* window, int orientation)
    : title(QStringLiteral("title"), orientation, {155, 2, 0, 120, 20}, {156, 0, 120, 20, 120}),
      top(QStringLiteral("top"), window, orientation, {154, 220, 0, 20, 20}, 162, {154, 300, 0, 20, 20}, 162),
      menu(QStringLiteral("menu"), window, orientation, {159, 215, 295, 25, 25}, 163, {159, 295, 30, 25, 25}, 163),
      function(QStringLiteral("function"), window, orientation, {168, 190, 295, 25, 25}, 169, {168, 295, 55, 25, 25},
               169, {160, 160, 164, 164}),
      sound(QStringLiteral("sound"), window, orientation, {161, 165, 295, 25, 25}, 165, {161, 295, 80, 25, 25}, 165,
            {166, 166, 167, 167}),
      previousDevice(QStringLiteral("previousDevice"), window, orientation, {172, 5, 295, 12, 25}, 173,
                     {174, 295, 225, 25, 12}, 175),
      nextDevice(QStringLiteral("nextDevice"), window, orientation, {176, 112, 295, 12, 25}, 177,
                 {178, 295, 116, 25, 12}, 179),
      deviceName(QStringLiteral("deviceName"), window, orientation, {170, 17, 297, 95, 20}, {171, 297, 130, 20, 95}),
      ccfButton1(QStringLiteral("ccfButton1"), window, orientation, {180, 215, 25, 24, 24}, 181, {180, 25, 0, 24, 24},
                 181),
      ccfPriorPanel(QStringLiteral("ccfPriorPanel"), window, orientation, {184, 160, 25, 18, 24}, 185,
                    {188, 25, 62, 24, 18}, 189),
      ccfNextPanel(QStringLiteral("ccfNextPanel"), window, orientation, {186, 180, 25, 18, 24}, 187,
                   {191, 25, 42, 24, 18}, 192),
      ccfName(QStringLiteral("ccfName"), window, orientation, {183, 10, 25, 139, 20}, {182, 25, 91, 20, 139}) {}

std::vector<BitmapWidget*> FrameWidgets::All() {
    return {&title,      &top,        &menu,       &function,      &sound,        &previousDevice,
            &nextDevice, &deviceName, &ccfButton1, &ccfPriorPanel, &ccfNextPanel, &ccfName};
}

void FrameWidgets::SetOrientation(int orientation) {
    for (BitmapWidget* widget : All()) widget->SetOrientation(orientation);
}

void FrameWidgets::Draw(QPainter& dc) {
    for (BitmapWidget* widget : All()) widget->Draw(dc);
}

void FrameWidgets::ReleaseAll() {
    for (PushWidget* widget : {&top, &menu, static_cast<PushWidget*>(&function), static_cast<PushWidget*>(&sound),
                               &previousDevice, &nextDevice, &ccfButton1, &ccfPriorPanel, &ccfNextPanel}) {
        widget->Release();
    }
}
