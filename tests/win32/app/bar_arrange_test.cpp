// The bar laid out on a real window: the tenth button inside the client area with the margin
// of the first, the instruction label as tall as its text needs in the bar's font (also after
// the font changes), and the height stored on close being the one shown.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/ButtonFormDialog.h"
#include "config/VtRegistryComponent.h"
#include "core/MessageService.h"
#include "ProgramTestSupport.h"
#include "ui/Application.h"

using namespace kt;
using kt::test_support::WriteBytes;

namespace {

int NeededLabelHeight(ui::TLabel* label) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, label->Font().Handle());
    const std::wstring text = ui::ToWide(label->Caption());
    RECT r{0, 0, label->Width(), 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return r.bottom;
}

TEST(BarArrange, TenButtonsShowWholeAndTheLabelFollowsItsFont) {
    kt::test_support::ScratchStart scratch{"ktarrange"};
    std::string scheme;
    for (int i = 1; i <= 10; ++i) scheme += "C01B" + std::to_string(i) + "\r\nT01t\r\n";
    WriteBytes(scratch.data + "\\button.dat", scheme + "D011\r\n");
    ScopedScriptedMessages msgs;
    auto* bar = ui::TApplication::Instance().CreateForm<TButtonForm>();
    bar->Show();

    ASSERT_NE(bar->RuntimeButton[9], nullptr);
    // The instruction needs three lines of the shipped font where the design gave two.
    const int growth = bar->Label1->Height() - 26;
    EXPECT_GT(growth, 0);
    EXPECT_GE(bar->Label1->Height(), NeededLabelHeight(bar->Label1));
    EXPECT_EQ(bar->Height(), 478 + std::max(0, growth));
    ui::TButton* first = bar->RuntimeButton[0];
    ui::TButton* tenth = bar->RuntimeButton[9];
    EXPECT_EQ(tenth->Top() - first->Top(), 9 * 32);
    EXPECT_EQ(first->Top(), bar->ComboBoxFilename->Top() + 12 + 32);  // below the chooser, as designed
    // The space below the tenth button is the one-button bar's: 190 - 27 - 113 under this frame.
    const int frame = bar->Height() - bar->ClientHeight();
    EXPECT_EQ(bar->ClientHeight() - (tenth->Top() + tenth->Height()), 190 - frame - 113);

    // A bigger font for the bar: the label takes the lines it needs, the buttons move down.
    bar->Font().SetSize(12);
    EXPECT_GE(bar->Label1->Height(), NeededLabelHeight(bar->Label1));
    EXPECT_GT(bar->Label1->Height(), 26 + std::max(0, growth));
    EXPECT_EQ(bar->ClientHeight() - (bar->RuntimeButton[9]->Top() + 25), 190 - frame - 113);

    // Another instruction (another capture key named, say): measured when it is set.
    const int before = bar->RuntimeButton[0]->Top();
    bar->Label1->SetCaption(bar->Label1->Caption() + " - press it again on another window to change the target");
    EXPECT_GE(bar->Label1->Height(), NeededLabelHeight(bar->Label1));
    EXPECT_GT(bar->RuntimeButton[0]->Top(), before);
    EXPECT_EQ(bar->ClientHeight() - (bar->RuntimeButton[9]->Top() + 25), 190 - frame - 113);

    bar->RegistrySave();
    TVtRegistry store;
    EXPECT_EQ(store.LoadText(std::string(kt::test_support::kProgramKey) + "\\Windows\\Button", "Height", ""),
              std::to_string(bar->Height()));
    delete bar;
}

}  // namespace
