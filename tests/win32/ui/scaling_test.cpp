// Forms designed at 96 pixels per inch, scaled to the screen's when they are made.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "config/About.h"
#include "core/DpiScale.h"
#include "config/FormTypingDialog.h"
#include "config/VtRegistryComponent.h"
#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

using namespace kt::ui;

namespace {

struct Layout {
    std::string name;
    int left, top, width, height, fontHeight, ppi;
    bool operator==(const Layout&) const = default;
};

void Collect(const TControl* c, std::vector<Layout>& out) {
    out.push_back({c->Name, c->Left(), c->Top(), c->Width(), c->Height(), c->Font().Height(), c->PixelsPerInch()});
    if (auto* w = dynamic_cast<const TWinControl*>(c))
        for (const TControl* child : w->Controls()) Collect(child, out);
}

std::vector<Layout> LayoutOf(const TControl& c) {
    std::vector<Layout> out;
    Collect(&c, out);
    return out;
}

// A small form of the kinds the program's windows use.
struct Sample {
    std::unique_ptr<TForm> form{new TForm(nullptr)};
    TButton* button;
    TLabel* bold;
    TLabel* points;
    TRadioGroup* group;
    Sample() {
        form->SetBounds(10, 20, 300, 200);
        button = MakeControl<TButton>(form.get(), form.get(), "Button", "OK", 8, 16, 75, 25);
        bold = MakeControl<TLabel>(form.get(), form.get(), "Bold", "Title", 8, 50, 120, 13);
        bold->Font().SetHeight(-13);  // a height in pixels, as designed
        points = MakeControl<TLabel>(form.get(), form.get(), "Points", "Size", 8, 70, 120, 13);
        points->Font().SetSize(8);  // a size in points: already at the screen's resolution
        group = MakeControl<TRadioGroup>(form.get(), form.get(), "Group", "End", 8, 90, 240, 40);
        group->SetColumns(3);
        group->SetItems({"No Action", "Enter", "Tab"});
    }
};

}  // namespace

TEST(FormScaling, At96EveryLayoutStaysAsDesigned) {
    // The program's own dialogs, made as the program makes them, once scaled at 96 and once not
    // scaled at all: the same numbers everywhere.
    ASSERT_EQ(TForm::ScreenPixelsPerInch(), 96) << "the test prefix runs at 96";
    for (auto make : {+[]() -> TForm* { return new kt::TAboutBox(nullptr); },
                      +[]() -> TForm* {
                          static kt::TVtRegistry store;
                          return new kt::TFormTyping(nullptr, store, "Software\\Orvall Software\\KetravoScaling\\");
                      }}) {
        std::unique_ptr<TForm> scaled(make()), plain(make());
        plain->Scaled = false;
        const std::vector<Layout> before = LayoutOf(*scaled);
        scaled->DoCreate();
        plain->DoCreate();
        EXPECT_EQ(LayoutOf(*scaled), LayoutOf(*plain)) << scaled->Name;
        EXPECT_EQ(LayoutOf(*scaled), before) << scaled->Name;
    }
    Sample s;
    const std::vector<Layout> designed = LayoutOf(*s.form);
    s.form->ChangeScale(96, 96);
    EXPECT_EQ(LayoutOf(*s.form), designed);
}

TEST(FormScaling, OtherResolutionsScaleEveryMeasureAndThePixelFonts) {
    struct Case {
        int ppi, button, buttonH, boldFont, radioTop;
    } cases[] = {{120, 94, 31, -16, 20}, {144, 113, 38, -20, 24}, {192, 150, 50, -26, 32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ppi);
        Sample s;
        // As SetSize makes it on a screen of this resolution: its height is for c.ppi already.
        s.points->Font().ScaleTo(c.ppi);
        const int pointsFont = s.points->Font().Height();
        const int groupFont = s.group->Font().Height();
        s.form->ChangeScale(c.ppi, 96);
        EXPECT_EQ(s.form->PixelsPerInch(), c.ppi);
        EXPECT_EQ(s.button->Left(), kt::ScaleToDpi(8, c.ppi));
        EXPECT_EQ(s.button->Width(), c.button);
        EXPECT_EQ(s.button->Height(), c.buttonH);
        // A designed pixel height grows; a size in points was right already.
        EXPECT_EQ(s.bold->Font().Height(), c.boldFont);
        EXPECT_EQ(s.points->Font().Height(), pointsFont);
        // Controls that share their parent's font follow it.
        EXPECT_EQ(s.group->Font().Height(), kt::Rescale(groupFont, c.ppi, 96));
        EXPECT_EQ(s.group->Button(0)->Font().Height(), s.group->Font().Height());
        // The radio group lays its buttons out by its own rule, at the new resolution.
        EXPECT_EQ(s.group->Button(1)->Top(), c.radioTop);
        EXPECT_EQ(s.group->Button(1)->Left(), kt::ScaleToDpi(8, c.ppi) + (s.group->Width() - 2 * kt::ScaleToDpi(8, c.ppi)) / 3);
        // The form keeps its place; its client grows by the factor, the frame by the system's metrics.
        EXPECT_EQ(s.form->Left(), 10);
        EXPECT_GT(s.form->Width(), 300);
        // A one-line label is at least as tall as its font's line.
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, s.bold->Font().Handle());
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        EXPECT_GE(s.bold->Height(), tm.tmHeight);
    }
}

TEST(FormScaling, AWindowMovedToAnotherScaleLaysItselfOutAgain) {
    Sample s;
    s.form->Handle();
    s.form->DoCreate();  // at the test prefix's 96: nothing changes
    ASSERT_EQ(s.button->Width(), 75);
    RECT suggested{100, 50, 600, 400};
    SendMessageW(s.form->Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(s.form->PixelsPerInch(), 144);
    EXPECT_EQ(s.button->Width(), 113);
    RECT r{};
    GetWindowRect(s.button->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 113);
    EXPECT_EQ(s.form->Left(), 100);  // where the system puts it
    SendMessageW(s.form->Handle(), 0x02E0, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(s.button->Width(), 75);
    EXPECT_EQ(s.bold->Font().Height(), -13);
}
