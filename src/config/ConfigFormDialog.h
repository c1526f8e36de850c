// The configuration window: schemes, buttons, start-up options and font.
#pragma once
#include "config/VtRegistryComponent.h"
#include "ui/Forms.h"

namespace kt {

class TConfigForm : public ui::TForm {
    KT_CLASS(TConfigForm, ui::TForm)
public:
    explicit TConfigForm(ui::TComponent* owner);

    TVtRegistry* VtRegistry1;
    void FormCreate();
};

extern TConfigForm* ConfigForm;

}  // namespace kt
