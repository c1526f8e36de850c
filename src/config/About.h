// The About box. Its contents arrive with the settings dialog's module.
#pragma once
#include "ui/Forms.h"

namespace kt {

class TAboutBox : public ui::TForm {
    KT_CLASS(TAboutBox, ui::TForm)
public:
    explicit TAboutBox(ui::TComponent* owner);
};

extern TAboutBox* AboutBox;

}  // namespace kt
