#include "config/About.h"

namespace kt {

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(ui::TComponent* owner) : ui::TForm(owner) {
    Name = "AboutBox";
    SetCaption("About Ketravo");
    BorderStyle = ui::TBorderStyle::bsDialog;
    Position = ui::TPosition::poScreenCenter;
    SetClientSize(465, 304);
    AboutBox = this;
}

}  // namespace kt
