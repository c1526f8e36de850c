// What the bar needs of the configuration window: its tray menu shows and hides it. A narrow
// entry, so the bar does not depend on the configuration window's class.
#pragma once

namespace kt {

// Both do nothing while the configuration window does not exist.
void ShowConfigWindow();
void HideConfigWindow();

}  // namespace kt
