// The About box: the program's picture, name, version, purpose and two memory figures.
// One is made at start-up with the other windows; "About" in the configuration window's
// Help menu shows a new one modally each time.
#pragma once
#include <cstdint>
#include <string>

#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"

namespace kt {

class TAboutBox : public ui::TDialogForm {
    KT_CLASS(TAboutBox, ui::TDialogForm)
public:
    explicit TAboutBox(ui::TComponent* owner);
    ~TAboutBox() override;

    ui::TImage* ProgramIcon;
    ui::TLabel* LabelCompany;
    ui::TLabel* Copyright;
    ui::TLabel* LabelAuthor;
    ui::TLabel* ProductName;  // "Ketravo V1.1"
    ui::TLabel* Comments;     // the purpose line
    ui::TBevel* Bevel1;
    ui::TLabel* LabelPhysMem;
    ui::TLabel* PhysMem;
    ui::TLabel* LabelFreeRes;
    ui::TLabel* FreeRes;
    ui::TBitBtn* OKButton;

    void FormCreate();

    // The figures as the box shows them, with the user's thousands separator.
    static std::string FormatPhysicalMemory(std::uint64_t bytes);
};

// The box made at start-up.
extern TAboutBox* AboutBox;

// "&About": a new box owned by `owner`, shown modally and freed when it closes.
void ShowAboutBox(ui::TComponent* owner);

}  // namespace kt
