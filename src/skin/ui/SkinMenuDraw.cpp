#include "skin/ui/SkinMenuDraw.h"

#include <algorithm>

#include "core/DpiScale.h"
#include "skin/ui/SkinColours.h"
#include "ui/Forms.h"
#include "ui/ImgList.h"

namespace kt {

namespace {

constexpr TColour kSystemButtonShadow = static_cast<TColour>(0x80000010);

UINT AlignmentFlags(const ui::TMenuItem& item) {
    if (auto* popup = dynamic_cast<ui::TPopupMenu*>(item.GetParentMenu())) {
        switch (popup->Alignment) {
            case ui::TPopupAlignment::paRight: return DT_RIGHT;
            case ui::TPopupAlignment::paCenter: return DT_CENTER;
            default: break;
        }
    }
    return DT_LEFT;
}

bool RightToLeft(ui::TMenuItem& item) {
    ui::TMenuItem* parent = item.Parent();
    if (!parent || !parent->HandleAllocated()) return false;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoA(parent->Handle(), item.Command(), FALSE, &info) && (info.fType & MFT_RIGHTORDER);
}

// The system's check mark, loaded once for the process.
HBITMAP CheckBitmap() {
    static HBITMAP bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(32760));  // OBM_CHECK
    return bitmap;
}

// The monochrome check mark in `colour`, the rest of the box left as it is.
void DrawCheckMark(HDC dc, const RECT& box, COLORREF colour) {
    BITMAP bm{};
    HBITMAP check = CheckBitmap();
    if (!check || !GetObjectA(check, sizeof bm, &bm)) return;
    // The mark grows with the box (16 pixels at 96), never past it.
    const int side = int(box.right - box.left);
    const int w = std::min(side, MulDivRound(bm.bmWidth, side, kMenuGlyphSide));
    const int h = std::min(int(box.bottom - box.top), MulDivRound(bm.bmHeight, side, kMenuGlyphSide));
    const int x = box.left + (side - w) / 2 + 1;
    const int y = box.top + (box.bottom - box.top - h) / 2 + 1;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, check);
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    // Clear the mark's pixels, then paint the colour into them only.
    StretchBlt(dc, x, y, w, h, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCAND);
    SetTextColor(dc, colour);
    SetBkColor(dc, RGB(0, 0, 0));
    StretchBlt(dc, x, y, w, h, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCPAINT);
    SetStretchBltMode(dc, oldMode);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    SelectObject(mem, old);
    DeleteDC(mem);
}

// The pressed look of a checked item's picture: face and highlight pixels alternating.
void FillDither(HDC dc, const RECT& r) {
    const COLORREF a = GetSysColor(COLOR_BTNFACE), b = GetSysColor(COLOR_BTNHIGHLIGHT);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP pattern = CreateCompatibleBitmap(dc, 8, 8);
    HGDIOBJ old = SelectObject(mem, pattern);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) SetPixel(mem, x, y, ((x + y) & 1) ? b : a);
    SelectObject(mem, old);
    DeleteDC(mem);
    HBRUSH brush = CreatePatternBrush(pattern);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    DeleteObject(pattern);
}

}  // namespace

void DrawSkinMenuItemText(const TSkinDescription& skin, ui::TMenuItem& item, ui::TCanvas& canvas, UINT flags,
                          bool selected, RECT& rect, const std::string& text) {
    if (RightToLeft(item)) flags |= DT_RIGHT | DT_RTLREADING;
    const bool measuring = (flags & DT_CALCRECT) != 0;
    std::string shown = text;
    // An empty caption must still have a height.
    if (measuring && (shown.empty() || shown == "&")) shown += ' ';
    if (shown == "-") {
        if (!measuring) {
            RECT line = rect;
            OffsetRect(&line, 0, 4);
            DrawEdge(canvas.Handle(), &line, EDGE_ETCHED, BF_TOP);
        }
        return;
    }
    canvas.Brush.Style = ui::TBrushStyle::bsClear;
    unsigned style = canvas.Font().Style();
    canvas.Font().SetStyle(item.Default() ? style | ui::fsBold : style & ~ui::fsBold);
    TColour colour;
    if (item.Enabled()) colour = selected ? skin.HilightText : skin.MenuText;
    else colour = skin.ButtonShadow == skin.MenuText ? kSystemButtonShadow : skin.ButtonShadow;
    canvas.Font().SetColor(SkinColorRef(colour));
    canvas.DrawText(shown, rect, flags);
}

void DrawSkinMenuItem(const TSkinDescription& skin, ui::TMenuItem& item, ui::TCanvas& canvas, bool selected,
                      const RECT& rect) {
    item.InitiateAction();
    const UINT alignment = AlignmentFlags(item);
    HDC dc = canvas.Handle();
    const int ppi = ui::TForm::ScreenPixelsPerInch();
    const int side = ScaleToDpi(kMenuGlyphSide, ppi);
    RECT glyph{rect.left + 1, rect.top + 1, rect.left + 1 + side, rect.top + 1 + side};
    if (item.IsLine()) {
        glyph.left = glyph.right = 0;
    } else {
        ui::TMenu* menu = item.GetParentMenu();
        ui::TImageList* images = menu ? menu->Images : nullptr;
        if (images && item.ImageIndex >= 0 && item.ImageIndex < images->Count()) {
            if (item.Checked()) {
                FillDither(dc, glyph);
                DrawEdge(dc, &glyph, BDR_SUNKENOUTER, BF_RECT);
            }
            images->Draw(dc, glyph.left, glyph.top, item.ImageIndex, item.Enabled());
        } else if (item.Checked()) {
            DrawCheckMark(dc, glyph, GetSysColor(COLOR_BTNTEXT));
        }
    }
    RECT text{glyph.right + ScaleToDpi(3, ppi), rect.top, rect.right - 1, rect.bottom};
    const RECT box = text;
    DrawSkinMenuItemText(skin, item, canvas, alignment | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE,
                         selected, text, item.Caption());
    // DT_CALCRECT shrinks the box to the text from its left; keep the alignment's side.
    const int textWidth = text.right - text.left;
    if (alignment == DT_RIGHT) {
        text.right = box.right;
        text.left = box.right - textWidth;
    } else if (alignment == DT_CENTER) {
        text.left = box.left + (box.right - box.left - textWidth) / 2;
        text.right = text.left + textWidth;
    }
    OffsetRect(&text, 0, ((rect.bottom - rect.top) - (text.bottom - text.top)) / 2);
    DrawSkinMenuItemText(skin, item, canvas, alignment | DT_EXPANDTABS | DT_SINGLELINE, selected, text,
                         item.Caption());
    const std::string keys = ui::ShortCutToText(item.ShortCut());
    if (!keys.empty()) {
        text.left = text.right;
        text.right = rect.right - 11;
        DrawSkinMenuItemText(skin, item, canvas, DT_RIGHT, selected, text, keys);
    }
}

bool SetEnumProperty(ui::TComponent* component, std::string_view propertyName, std::string_view valueName) {
    if (!component) return false;
    int value;
    if (valueName == "True") value = 1;
    else if (valueName == "False") value = 0;
    else return false;
    return component->SetEnumProperty(propertyName, value);
}

}  // namespace kt
