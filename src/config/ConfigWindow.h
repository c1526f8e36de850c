// What the bar needs of the configuration window: its tray menu shows and hides it. A narrow
// entry, so the bar does not depend on the configuration window's class.
#pragma once

namespace kt {

// Both do nothing while the configuration window does not exist.
void ShowConfigWindow();
void HideConfigWindow();
// Asks about unsaved button edits before the program ends; false: it must keep running.
bool ConfigWindowLetsProgramEnd();
// Checks the "Skins" menu entry of a skin index (0 Blue, 1 Silver, 2 Green, 3 Unskin, 4 Load)
// and clears the others; any other index checks none.
void CheckSkinMenuEntry(int skinIndex);

}  // namespace kt
