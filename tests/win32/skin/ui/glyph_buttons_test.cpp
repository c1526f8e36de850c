// Bit and speed buttons with glyphs, drawn by themselves and by their skin painters: where the
// glyph shows, which frame, what is transparent, and the grouped speed buttons.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "skin/ui/SkinPainters.h"
#include "skin/ui/SkinGallery.h"
#include "ui/Dialogs.h"
#include "ui/StdCtrls.h"

using namespace kt;

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

TSkinData& Blue() {
    static TSkinData* data = [] {
        auto* d = new TSkinData;
        gallery::LoadBuiltin(*d, 0);
        return d;
    }();
    return *data;
}

COLORREF Rgb(Pixel p) { return RGB(PixelR(p), PixelG(p), PixelB(p)); }
COLORREF Frame(int k) { return Rgb(gallery::kGlyphColours[k - 1]); }

struct GlyphButtons : ::testing::Test {
    std::unique_ptr<ui::TForm> form{new ui::TForm(nullptr)};
    void SetUp() override {
        form->SetBounds(100, 100, 400, 300);
        form->Show();
        SetForegroundWindow(form->Handle());
    }
    COLORREF At(ui::TWinControl* c, int x, int y) {
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        HDC dc = GetWindowDC(c->Handle());
        const COLORREF p = GetPixel(dc, x, y);
        ReleaseDC(c->Handle(), dc);
        return p;
    }
    template <class T>
    T* Glyphed(const char* caption, int x, int y, int w, int h, int frames) {
        auto* b = ui::MakeControl<T>(form.get(), form.get(), "", caption, x, y, w, h);
        b->SetGlyph(gallery::MakeGlyph(frames));
        b->SetNumGlyphs(frames);
        return b;
    }
};

TEST_F(GlyphButtons, ABitButtonShowsItsGlyphWhereTheLayoutPutsItThroughTheKeyColour) {
    auto* left = Glyphed<ui::TBitBtn>("Glyph", 10, 10, 150, 34, 3);
    left->SetMargin(6);
    auto* right = Glyphed<ui::TBitBtn>("Glyph", 10, 60, 150, 34, 3);
    right->SetMargin(6);
    right->SetLayout(ui::TButtonLayout::blGlyphRight);
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "own drawing");
        TPainterSet set;
        if (skinned) ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
        // The system button's edge insets its own drawing by 2; the skin's face has no such edge.
        const int inset = skinned ? 0 : 2, y = inset + (34 - 2 * inset - 16 + 1) / 2;
        const int lx = inset + 6, rx = 150 - inset - 6 - 16;
        EXPECT_EQ(At(left, lx + 8, y + 8), Frame(1));
        EXPECT_EQ(At(right, rx + 8, y + 8), Frame(1));
        // Inside the glyph's corner the face shows, as it does beyond the caption on that row.
        EXPECT_EQ(At(left, lx + 1, y + 1), At(left, 150 - 12, y + 1));
        EXPECT_NE(At(left, lx + 1, y + 1), Rgb(gallery::kGlyphKey));
        left->SetEnabled(false);
        // Disabled: frame 2 when drawn by itself; the skin shows frame 1 whatever the state.
        EXPECT_EQ(At(left, lx + 8, y + 8), Frame(skinned ? 1 : 2));
        left->SetEnabled(true);
        if (!skinned) {
            // Pressed: frame 3, one pixel right and down.
            SendMessageW(left->Handle(), BM_SETSTATE, TRUE, 0);
            EXPECT_EQ(At(left, lx + 3 + 1, y + 8), Frame(3));
            EXPECT_NE(At(left, lx + 3, y + 8), Frame(3));
            SendMessageW(left->Handle(), BM_SETSTATE, FALSE, 0);
        }
    }
}

TEST_F(GlyphButtons, ADisabledSpeedButtonShowsFrameTwoOrAGreyedFirstFrame) {
    auto* three = Glyphed<ui::TSpeedButton>("", 10, 10, 34, 34, 3);
    auto* one = Glyphed<ui::TSpeedButton>("", 50, 10, 34, 34, 1);
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "own drawing");
        TPainterSet set;
        if (skinned) ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
        three->SetEnabled(true);
        one->SetEnabled(true);
        EXPECT_EQ(At(three, 17, 17), Frame(1));
        EXPECT_EQ(At(one, 17, 17), Frame(1));
        three->SetEnabled(false);
        one->SetEnabled(false);
        EXPECT_EQ(At(three, 17, 17), Frame(2));
        EXPECT_EQ(At(one, 17, 17), GetSysColor(COLOR_BTNSHADOW));
    }
}

TEST_F(GlyphButtons, AGroupedSpeedButtonGoesDownOnClickAndItsPartnerComesUp) {
    auto* a = Glyphed<ui::TSpeedButton>("", 10, 10, 60, 30, 4);
    auto* b = Glyphed<ui::TSpeedButton>("", 80, 10, 60, 30, 4);
    auto* plain = Glyphed<ui::TSpeedButton>("P", 150, 10, 60, 30, 4);
    auto* other = ui::MakeControl<ui::TSpeedButton>(form.get(), form.get(), "", "O", 220, 10, 60, 30);
    a->GroupIndex = b->GroupIndex = 1;
    other->GroupIndex = 2;
    other->SetDown(true);
    int clicks = 0;
    b->OnClick = [&] { ++clicks; };
    auto click = [](ui::TSpeedButton* s) {
        SendMessageW(s->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(s->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump();
    };
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "own drawing");
        TPainterSet set;
        if (skinned) ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
        a->AllowAllUp = b->AllowAllUp = false;
        a->SetDown(true);
        clicks = 0;
        click(b);
        EXPECT_TRUE(b->Down());
        EXPECT_FALSE(a->Down());
        EXPECT_TRUE(other->Down());  // another group
        EXPECT_EQ(clicks, 1);
        click(b);  // without AllowAllUp one of the group stays down
        EXPECT_TRUE(b->Down());
        b->SetDown(false);
        EXPECT_TRUE(b->Down());
        // Down shows glyph frame 4 (shifted by one on the system's face), the partner frame 1.
        EXPECT_EQ(At(b, 30 + (skinned ? 0 : 1), 15 + (skinned ? 0 : 1)), Frame(4));
        EXPECT_EQ(At(a, 30, 15), Frame(1));
        if (skinned) {
            auto face = [&](ui::TSpeedButton* s) {
                for (auto& p : set.Painters)
                    if (p->Control() == s) return static_cast<TSkinSpeedButton*>(p.get())->FaceFrame();
                return 0;
            };
            EXPECT_EQ(face(b), 2);
            EXPECT_EQ(face(a), 1);
        }
        a->AllowAllUp = b->AllowAllUp = true;
        click(b);
        EXPECT_FALSE(b->Down());
        EXPECT_FALSE(a->Down());
        EXPECT_EQ(clicks, 3);
        // A button of no group is a plain push: never down.
        click(plain);
        plain->SetDown(true);
        EXPECT_FALSE(plain->Down());
    }
}

TEST_F(GlyphButtons, AGlyphBitButtonKeepsTheKeysOfAPlainOne) {
    auto* edit = ui::MakeControl<ui::TEdit>(form.get(), form.get(), "E", "", 10, 10, 100, 22);
    edit->TabOrder = 0;
    auto* ok = new ui::TBitBtn(form.get());
    ok->SetKind(ui::TBitBtnKind::bkOK);
    ok->TabOrder = 1;
    ok->SetBounds(10, 50, 100, 30);
    ok->SetGlyph(gallery::MakeGlyph(2));
    ok->SetParent(form.get());
    int clicks = 0;
    ok->OnClick = [&] { ++clicks; };
    EXPECT_EQ(GetWindowLongW(ok->Handle(), GWL_STYLE) & 0xF, BS_OWNERDRAW);
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "own drawing");
        TPainterSet set;
        if (skinned) ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
        clicks = 0;
        edit->SetFocus();
        MSG enter{edit->Handle(), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
        EXPECT_TRUE(ui::IsDialogKeyMessage(enter));  // the default button
        form->SelectNext(edit, true);
        EXPECT_EQ(GetFocus(), ok->Handle());
        SendMessageW(ok->Handle(), WM_KEYDOWN, VK_SPACE, 0);
        SendMessageW(ok->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
        Pump();
        EXPECT_EQ(clicks, 2);
    }
    // Without its glyph it is the system's default button again.
    ok->SetGlyph(TBitmap32());
    EXPECT_EQ(GetWindowLongW(ok->Handle(), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
}

}  // namespace
