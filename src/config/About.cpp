#include "config/About.h"

#include <windows.h>

#include <memory>

#include "config/core/HelpAddress.h"
#include "config/core/ProgramPicture.h"
#include "ui/Application.h"

namespace kt {

TAboutBox* AboutBox = nullptr;

namespace {
std::string ThousandsSeparator() {
    char buf[8] = "";
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buf, sizeof buf) <= 0) return ",";
    return buf;
}
}  // namespace

TAboutBox::TAboutBox(ui::TComponent* owner) : ui::TDialogForm(owner) {
    Name = "AboutBox";
    SetCaption("About Ketravo");
    BorderStyle = ui::TBorderStyle::bsDialog;
    Position = ui::TPosition::poScreenCenter;
    SetClientSize(465, 304);
    Font().SetName("MS Sans Serif");
    Font().SetSize(8);
    Font().SetColor(RGB(0, 0, 0));
    ShowHint = true;

    auto label = [this](const char* name, const std::string& text, int x, int y, int w, int h) {
        return ui::MakeControl<ui::TLabel>(this, this, name, text, x, y, w, h);
    };

    ProgramIcon = new ui::TImage(this);
    ProgramIcon->Name = "ProgramIcon";
    ProgramIcon->Stretch = true;
    ProgramIcon->Transparent = true;
    ProgramIcon->SetPicture(DrawProgramPicture(200));
    ProgramIcon->SetBounds(12, 12, 200, 200);
    ProgramIcon->SetParent(this);

    // The right column: the ownership notice takes two lines of the box's font.
    const int x = 228, w = 225;
    LabelCompany = label("LabelCompany", "Orvall Software", x, 14, w, 13);
    Copyright = label("Copyright", "Copyright (C) Orvall Software. All rights reserved.", x, 32, w, 28);
    Copyright->WordWrap = true;
    LabelAuthor = label("LabelAuthor", "Written by the Ketravo team", x, 64, w, 13);
    ProductName = label("ProductName", "Ketravo V1.1", x, 90, w, 16);
    ProductName->Font().SetStyle(ui::fsBold);
    Comments = label("Comments", "Ketravo automatically fills in forms using predefined text that you created.", x, 114,
                     w, 56);
    Comments->WordWrap = true;

    Bevel1 = new ui::TBevel(this);
    Bevel1->Name = "Bevel1";
    Bevel1->SetBounds(12, 222, 441, 2);
    Bevel1->SetParent(this);

    LabelPhysMem = label("LabelPhysMem", "Memory Available to Windows:", 12, 236, 210, 13);
    PhysMem = label("PhysMem", "0", 228, 236, 140, 13);
    LabelFreeRes = label("LabelFreeRes", "Memory in Use:", 12, 256, 210, 13);
    FreeRes = label("FreeRes", "0", 228, 256, 140, 13);

    OKButton = new ui::TBitBtn(this);
    OKButton->Name = "OKButton";
    OKButton->SetKind(ui::TBitBtnKind::bkOK);
    OKButton->Hint = "Close the About Box";
    OKButton->SetBounds(378, 268, 75, 25);
    OKButton->SetParent(this);

    OnCreate = [this] { FormCreate(); };
    if (!AboutBox) AboutBox = this;
}

TAboutBox::~TAboutBox() {
    if (AboutBox == this) AboutBox = nullptr;
}

std::string TAboutBox::FormatPhysicalMemory(std::uint64_t bytes) { return FormatKilobytes(bytes, ThousandsSeparator()); }

void TAboutBox::FormCreate() {
    // Drawn again at the size the box was scaled to: sharp, not a stretched 200-pixel picture.
    if (ProgramIcon->Width() != 200) ProgramIcon->SetPicture(DrawProgramPicture(ProgramIcon->Width()));
    // The extended call reports the whole memory; the plain one stops at 2 GB (or wraps
    // beyond 4 GB) for a 32-bit program.
    MEMORYSTATUSEX ex{};
    ex.dwLength = sizeof ex;
    std::uint64_t total = 0;
    unsigned load = 0;
    if (GlobalMemoryStatusEx(&ex)) {
        total = ex.ullTotalPhys;
        load = ex.dwMemoryLoad;
    } else {
        MEMORYSTATUS ms{};
        ms.dwLength = sizeof ms;
        GlobalMemoryStatus(&ms);
        total = ms.dwTotalPhys;
        load = ms.dwMemoryLoad;
    }
    PhysMem->SetCaption(FormatPhysicalMemory(total));
    FreeRes->SetCaption(FormatMemoryLoad(load));
}

void ShowAboutBox(ui::TComponent* owner) {
    std::unique_ptr<TAboutBox> box(new TAboutBox(owner));
    box->DoCreate();
    box->ShowModal();
    box->DoDestroy();
}

}  // namespace kt
