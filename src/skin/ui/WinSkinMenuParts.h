// What the menu files share. Internal to src/skin/ui.
#pragma once
#include <windows.h>

#include <string>

namespace kt::menus {

constexpr int kMaxCaption = 80;

// The screen's menu font, made once.
HFONT MenuFont();
// The skin manager is there and switched on.
bool ManagerActive();
int TextWidth(HDC dc, const std::string& text);
// The menu of the menu bar's open drop-down, or null.
HMENU OpenDropDownMenu();

}  // namespace kt::menus
