#include "config/ConfigWindow.h"

#include "config/ConfigFormDialog.h"

namespace kt {

void ShowConfigWindow() {
    if (ConfigForm) ConfigForm->Show();
}

void HideConfigWindow() {
    if (ConfigForm) ConfigForm->Hide();
}

}  // namespace kt
