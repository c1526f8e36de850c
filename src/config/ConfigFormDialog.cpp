#include "config/ConfigFormDialog.h"

#include "config/RegistryKeys.h"

namespace kt {

TConfigForm* ConfigForm = nullptr;

TConfigForm::TConfigForm(ui::TComponent* owner) : ui::TForm(owner) {
    Name = "ConfigForm";
    SetCaption("Ketravo Configuration");
    const auto& def = reg::kConfigPlacementDefault;
    SetBounds(def.left, def.top, def.width, def.height);
    VtRegistry1 = new TVtRegistry(this);
    VtRegistry1->Name = "VtRegistry1";
    OnCreate = [this] { FormCreate(); };
    ConfigForm = this;
}

void TConfigForm::FormCreate() {}

}  // namespace kt
