// The program's menu resource 102: five pop-up menus whose item texts come from the language table. Each
// item's object name is its command number, so scripted answers and tests find it.
#pragma once

#include <QMenu>
#include <memory>

inline constexpr int kMainMenu = 0;
inline constexpr int kButtonMenu = 2;
inline constexpr int kDeviceItemMenu = 3;
inline constexpr int kSkinMenu = 4;

// The "Ir Port" submenu's object name inside the main menu.
inline constexpr const char* kIrPortMenuName = "IrPort";

// Pop-up `index` (0 to 4) of menu 102, texts by key; null for another index.
std::unique_ptr<QMenu> LoadProgramMenu(int index, QWidget* parent);
// The item of a command in a menu or its submenus, null when absent.
QAction* MenuItem(QMenu& menu, int command);
