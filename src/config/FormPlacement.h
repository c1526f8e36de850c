// A window's state and placement as the settings keep them: "WindowState" and, unless the
// window is maximised, "Top", "Left", "Width", "Height".
#pragma once
#include <string>

#include "config/RegistryKeys.h"
#include "config/VtRegistryComponent.h"
#include "ui/Forms.h"

namespace kt {

// Restores what is stored below key. A minimised or maximised state reads no numbers; numbers
// equal to the defaults centre the window on the desktop. A corrupt value is reported in the
// standard error box and the window starts centred with the defaults.
void LoadFormPlacement(TVtRegistry& store, const std::string& key, const reg::Placement& defaults,
                       ui::TForm& form);
// A window whose caption no monitor shows (at least a grip of it) is moved into the nearest
// work area; a size below the system's minimum window size becomes that minimum, one larger
// than that work area becomes its size.
void KeepOnScreen(int& left, int& top, int& width, int& height);
// Saves the state, then (unless maximised) the position the window comes back to.
void SaveFormPlacement(TVtRegistry& store, const std::string& key, ui::TForm& form);

}  // namespace kt
