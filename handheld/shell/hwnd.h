// Window handles: on this handheld a window handle is the widget itself.
#pragma once

#include <QWidget>

#include "handheld/types.h"

namespace handheld {

inline HWND ToHwnd(QWidget* widget) {
    return reinterpret_cast<HWND>(widget);
}
inline QWidget* FromHwnd(HWND window) {
    return reinterpret_cast<QWidget*>(window);
}

}  // namespace handheld
