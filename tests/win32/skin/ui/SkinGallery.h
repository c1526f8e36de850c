// The tests' gallery: one control of every kind the skin painters serve, each enabled (left
// column) and disabled (right column), on one form. Shared by the Win32 tests and ktgallery.exe.
#pragma once
#include <algorithm>
#include <memory>
#include <string>

#include "skingen/BuiltinSkins.h"
#include "skin/data/SkinWriter.h"
#include "skin/data/WinSkinData.h"
#include "skin/data/WinSkinStore.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/Forms.h"
#include "ui/Tabs.h"

#include <commctrl.h>

namespace kt::gallery {

// Built-in skin `index` loaded into `data` the way the program loads it from its store.
inline void LoadBuiltin(TSkinData& data, int index) {
    TSkinStore store;
    store.Store().Add().Data() = PackSkin(MakeBuiltinSkin(index));
    data.LoadFromStore(store, 0);
}

// The gallery's glyphs: frame k of a strip is a 10 x 10 square of kGlyphColours[k - 1] centred
// in 16 x 16 of the key colour, which is each frame's bottom-left pixel and so transparent.
inline constexpr Pixel kGlyphKey = 0x008080;
inline constexpr Pixel kGlyphColours[4] = {0xC00000, 0x0000C0, 0x00A000, 0xC0C000};
inline constexpr int kGlyphSize = 16;

inline TBitmap32 MakeGlyph(int frames) {
    TBitmap32 strip(kGlyphSize * frames, kGlyphSize, kGlyphKey);
    for (int k = 0; k < frames; ++k)
        for (int y = 3; y < 13; ++y)
            for (int x = 3; x < 13; ++x) strip.At(k * kGlyphSize + x, y) = kGlyphColours[k];
    return strip;
}

// Bit and speed buttons with glyphs, in a column of their own at the right; the speed buttons
// "Left" and "Right" are one group, "Left" down.
inline void AddGlyphButtons(ui::TForm* f) {
    f->SetWidth(std::max(f->Width(), 800));
    const int x = 630;
    auto glyphed = [&](auto* b, int frames, bool enabled) {
        b->SetGlyph(MakeGlyph(frames));
        b->SetNumGlyphs(frames);
        b->SetEnabled(enabled);
        return b;
    };
    glyphed(ui::MakeControl<ui::TBitBtn>(f, f, "GlyphBtn", "Glyph", x, 10, 150, 34), 3, true)->SetMargin(6);
    glyphed(ui::MakeControl<ui::TBitBtn>(f, f, "GlyphBtnOff", "Glyph off", x, 50, 150, 34), 3, false)->SetMargin(6);
    glyphed(ui::MakeControl<ui::TBitBtn>(f, f, "GlyphTop", "Top", x, 90, 70, 50), 2, true)
        ->SetLayout(ui::TButtonLayout::blGlyphTop);
    glyphed(ui::MakeControl<ui::TSpeedButton>(f, f, "GlyphTool", "", x + 80, 98, 34, 34), 3, true);
    glyphed(ui::MakeControl<ui::TSpeedButton>(f, f, "GlyphToolOff", "", x + 116, 98, 34, 34), 3, false);
    for (int i = 0; i < 2; ++i) {
        auto* s = glyphed(ui::MakeControl<ui::TSpeedButton>(f, f, i ? "GroupB" : "GroupA", i ? "Right" : "Left",
                                                            x + i * 76, 150, 72, 30),
                          4, true);
        s->GroupIndex = 1;
        s->SetDown(i == 0);
    }
}

// A system image list of the gallery's four glyph colours, 16 x 16 each.
inline HIMAGELIST MakeGlyphImages() {
    HIMAGELIST images = ImageList_Create(kGlyphSize, kGlyphSize, ILC_COLOR32 | ILC_MASK, 4, 0);
    const TBitmap32 glyphs = MakeGlyph(4);
    HBITMAP bm = CreateBitmap(glyphs.Width(), glyphs.Height(), 1, 32, glyphs.Row(0));
    ImageList_AddMasked(images, bm, RGB(PixelR(kGlyphKey), PixelG(kGlyphKey), PixelB(kGlyphKey)));
    DeleteObject(bm);
    return images;
}

// Tabs "Mail", "Keys", "More" with style bits of their own (TCS_BOTTOM, TCS_VERTICAL) and, given
// a list, an image on each.
struct TStyledTabs : ui::TTabControl {
    TStyledTabs(ui::TComponent* owner, LONG style, HIMAGELIST images)
        : ui::TTabControl(owner), style_(style), images_(images) {
        Tabs = {"Mail", "Keys", "More"};
    }
    void CreateParams(ui::TCreateParams& p) override {
        ui::TTabControl::CreateParams(p);
        p.style |= style_;
    }
    void HandleCreated() override {
        ui::TTabControl::HandleCreated();
        SendMessageW(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
        for (int i = 0; images_ && i < 3; ++i) {
            TCITEMW item{TCIF_IMAGE};
            item.iImage = i;
            SendMessageW(Handle(), TCM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
    }
    LONG style_;
    HIMAGELIST images_;
};

inline TStyledTabs* AddStyledTabs(ui::TForm* f, int x, int y, int w, int h, LONG style, HIMAGELIST images) {
    auto* t = new TStyledTabs(f, style, images);
    t->SetBounds(x, y, w, h);
    t->SetParent(f);
    return t;
}

inline ui::TForm* MakeGallery() {
    auto* f = new ui::TForm(nullptr);
    f->Name = "Gallery";
    f->SetCaption("Ketravo Gallery");
    f->BorderStyle = ui::TBorderStyle::bsSingle;
    f->SetBounds(20, 20, 640, 640);
    for (int col = 0; col < 2; ++col) {
        const bool on = col == 0;
        const int x = 10 + col * 310;
        const std::string s = on ? "" : "Off";
        auto place = [&](ui::TWinControl* c, const std::string& name) {
            c->Name = name + s;
            c->SetEnabled(on);
            c->SetParent(f);
        };
        auto* b = ui::MakeControl<ui::TButton>(f, f, "", on ? "Button" : "Disabled button", x, 10, 120, 26);
        place(b, "Button");
        auto* bb = ui::MakeControl<ui::TBitBtn>(f, f, "", on ? "Bit button" : "Disabled bit", x + 130, 10, 120, 26);
        place(bb, "BitBtn");
        auto* sp = ui::MakeControl<ui::TSpeedButton>(f, f, "", "Tool", x + 256, 10, 44, 26);
        place(sp, "SpeedButton");
        auto* cb = ui::MakeControl<ui::TCheckBox>(f, f, "", on ? "Check box" : "Disabled check", x, 44, 130, 20);
        cb->SetChecked(true);
        place(cb, "CheckBox");
        auto* rb = ui::MakeControl<ui::TRadioButton>(f, f, "", on ? "Radio" : "Disabled radio", x + 140, 44, 130, 20);
        rb->SetChecked(true);
        place(rb, "Radio");
        auto* rg = ui::MakeControl<ui::TRadioGroup>(f, f, "", "Group", x, 70, 140, 80);
        rg->SetItems({"First", "Second"});
        rg->SetItemIndex(1);
        place(rg, "RadioGroup");
        auto* gb = ui::MakeControl<ui::TGroupBox>(f, f, "", "Box", x + 150, 70, 130, 80);
        place(gb, "GroupBox");
        auto* ed = ui::MakeControl<ui::TEdit>(f, f, "", "Edit text", x, 160, 130, 22);
        place(ed, "Edit");
        auto* co = ui::MakeControl<ui::TComboBox>(f, f, "", "", x + 140, 160, 140, 22);
        co->AddItems({"One", "Two", "Three"});
        place(co, "Combo");
        co->SetItemIndex(0);
        auto* lb = ui::MakeControl<ui::TListBox>(f, f, "", "", x, 192, 130, 70);
        for (int i = 1; i <= 20; ++i) lb->AddItem("Line " + std::to_string(i));
        place(lb, "List");
        auto* me = ui::MakeControl<ui::TMemo>(f, f, "", "", x + 140, 192, 140, 70);
        std::string text;
        for (int i = 1; i <= 12; ++i) text += "Memo line " + std::to_string(i) + "\r\n";
        me->SetText(text);
        place(me, "Memo");
        auto* sc = ui::MakeControl<ui::TScrollBar>(f, f, "", "", x, 272, 280, 17);
        sc->SetParams(30, 0, 100, 20);
        place(sc, "ScrollBar");
        auto* pb = ui::MakeControl<ui::TProgressBar>(f, f, "", "", x, 298, 130, 16);
        pb->SetPosition(60);
        place(pb, "Progress");
        auto* tb = ui::MakeControl<ui::TTrackBar>(f, f, "", "", x + 140, 294, 110, 28);
        tb->SetPosition(4);
        place(tb, "TrackBar");
        auto* ud = ui::MakeControl<ui::TUpDown>(f, f, "", "", x + 260, 294, 18, 26);
        place(ud, "UpDown");
        auto* tc = ui::MakeControl<ui::TTabControl>(f, f, "", "", x, 330, 280, 70);
        tc->Tabs = {"General", "Keys", "More"};
        place(tc, "Tabs");
        auto* lv = ui::MakeControl<ui::TListView>(f, f, "", "", x, 408, 280, 90);
        lv->Columns = {{"Name", 100}, {"Text", 120}, {"Size", 60, ui::TAlignment::taRightJustify}};
        for (int i = 1; i <= 8; ++i) lv->Rows.push_back({"Item " + std::to_string(i), "Text", std::to_string(i * 10)});
        place(lv, "ListView");
        auto* st = ui::MakeControl<ui::TStatusBar>(f, f, "", "", x, 506, 280, 22);
        st->PanelWidths = {90, 90, 100};
        st->PanelTexts = {"Ready", "Line 1", "Ketravo"};
        st->PanelAlignments = {ui::TAlignment::taLeftJustify, ui::TAlignment::taCenter,
                               ui::TAlignment::taRightJustify};
        place(st, "StatusBar");
        // More tabs than fit: the scroller shows.
        auto* ts = ui::MakeControl<ui::TTabSet>(f, f, "", "", x, 536, 280, 24);
        ts->SetTabs({"General", "Keys", "Buttons", "Fonts", "Skins", "Folders", "Start", "Help"});
        ts->SetTabIndex(1);
        place(ts, "TabSet");
        SYSTEMTIME day{};
        day.wYear = 2026, day.wMonth = 3, day.wDay = 14;
        for (ui::TDTDateMode mode : {ui::TDTDateMode::dmComboBox, ui::TDTDateMode::dmUpDown}) {
            const bool upDown = mode == ui::TDTDateMode::dmUpDown;
            auto* dp = ui::MakeControl<ui::TDateTimePicker>(f, f, "", "", x + (upDown ? 145 : 0), 568, 135, 22);
            dp->DateMode = mode;
            dp->SetDate(day);
            place(dp, upDown ? "DateUpDown" : "DateCombo");
        }
    }
    AddGlyphButtons(f);
    return f;
}

}  // namespace kt::gallery
