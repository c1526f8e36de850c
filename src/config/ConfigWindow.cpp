#include "config/ConfigWindow.h"

#include "config/BarLink.h"
#include "config/ConfigFormDialog.h"

namespace kt {

namespace {
BarLink* g_bar = nullptr;
}  // namespace

BarLink* Bar() { return g_bar; }
void SetBar(BarLink* bar) { g_bar = bar; }

void ShowConfigWindow() {
    if (ConfigForm) ConfigForm->Show();
}

void HideConfigWindow() {
    if (ConfigForm) ConfigForm->Hide();
}

bool ConfigWindowLetsProgramEnd() { return !ConfigForm || ConfigForm->AskToSaveOnExit(); }

void CheckSkinMenuEntry(int skinIndex) {
    if (!ConfigForm) return;
    ui::TMenuItem* items[] = {ConfigForm->MenuSkinXP, ConfigForm->MenuSkinSilver, ConfigForm->MenuSkinGreen,
                              ConfigForm->MenuSkinNone, ConfigForm->MenuSkinLoad};
    for (ui::TMenuItem* item : items) item->SetChecked(false);
    if (skinIndex >= 0 && skinIndex < 5) items[skinIndex]->SetChecked(true);
}

}  // namespace kt
