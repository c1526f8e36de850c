// Menu items drawn by the skin: one item's picture, the frame's menu messages (measure and
// draw of drop-down and system-menu items) and switching a form's popup menus to owner-drawn
// and back.
#include "skin/ui/WinSkinMenu.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "core/DpiScale.h"
#include "skin/data/SkinDraw.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/SkinManage.h"
#include "skin/ui/SkinMenuDraw.h"
#include "skin/ui/WinSkinMenuParts.h"
#include "ui/Forms.h"

namespace kt {

using namespace menus;

namespace {

// The item's text from the system's menu, "-" for a separator or an empty text.
std::string SystemMenuText(HMENU menu, UINT id, bool byPosition) {
    char text[kMaxCaption + 1] = {0};
    if (menu) GetMenuStringA(menu, id, text, sizeof text, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    return text[0] ? std::string(text) : std::string("-");
}

// A stand-in item for menus the toolkit did not make (system menu, bare windows).
struct TTempItem {
    ui::TMenuItem Item{nullptr};
    TTempItem(HMENU menu, UINT id) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE;
        GetMenuItemInfoA(menu, id, FALSE, &info);
        Item.SetCaption(SystemMenuText(menu, id, false));
        Item.SetEnabled(!(info.fState & (MFS_GRAYED | MFS_DISABLED)));
        Item.SetChecked((info.fState & MFS_CHECKED) != 0);
    }
};

// The separator picture: the bottom rows of frame 2 of "MenuItem", caps kept, middle stretched.
void DrawSeparatorImage(PixelView dst, const TDataSkinObject& e) {
    const TRectI fr = FrameRect(e.Image.Width(), e.Image.Height(), false, 5, 2);
    if (fr.IsEmpty()) return;
    const int W = dst.Width, H = dst.Height;
    TRectI src = fr;
    if (src.Height() > H) src.Top = src.Bottom - H;
    TBitmap32 piece(W, H, kMagenta);
    const int L = std::clamp<int>(e.LeftWidth, 0, std::min(src.Width(), W));
    const int R = std::clamp<int>(e.RightWidth, 0, std::min(src.Width() - L, W - L));
    StretchCopy(piece.View(), {0, 0, L, H}, e.Image.View(), {src.Left, src.Top, src.Left + L, src.Bottom});
    StretchCopy(piece.View(), {W - R, 0, W, H}, e.Image.View(), {src.Right - R, src.Top, src.Right, src.Bottom});
    StretchCopy(piece.View(), {L, 0, W - R, H}, e.Image.View(), {src.Left + L, src.Top, src.Right - R, src.Bottom});
    TransparentCopy(dst, 0, 0, piece.View());
}

void ForEachItem(ui::TMenuItem* item, const std::function<void(ui::TMenuItem*)>& f) {
    for (int i = 0; i < item->Count(); ++i) {
        f(item->Items(i));
        ForEachItem(item->Items(i), f);
    }
}

// An item the skin drew gets its own measurer back and no drawing handler.
void GiveBack(ui::TMenuItem* item) {
    if (!item->MeasureBeforeSkin) return;
    item->OnDrawItem = nullptr;
    item->OnMeasureItem = *item->MeasureBeforeSkin;
    item->MeasureBeforeSkin.reset();
}

// The skin data of the frame around the window of the form that owns the item's menu; the
// system's colours when there is none (the skin went while the menu was open).
const TSkinDescription& SkinOfItem(ui::TMenuItem& item) {
    static const TSkinDescription plain;
    ui::TMenu* menu = item.GetParentMenu();
    auto* form = menu ? dynamic_cast<ui::TForm*>(menu->Owner()) : nullptr;
    TSkinManage* manager = SkinManage();
    if (!form || !manager || !form->HandleAllocated()) return plain;
    TWinSkinForm* frame = manager->FrameOf(form->Handle());
    return frame && frame->SkinData() ? static_cast<const TSkinDescription&>(*frame->SkinData()) : plain;
}

// Gives back what the skin changed; the items keep the drawing they had of their own.
void RestoreMenu(ui::TPopupMenu* menu) {
    if (!menu->OwnerDrawBeforeSkin) return;
    ForEachItem(menu->Items(), GiveBack);
    menu->SetOwnerDraw(*menu->OwnerDrawBeforeSkin);
    menu->OwnerDrawBeforeSkin.reset();
}

}  // namespace

// ---------------------------------------------------------------- item drawing

void DrawSkinnedMenuItem(const TSkinDescription& skin, ui::TMenuItem& item, HDC dc, const RECT& rect, bool selected,
                         HMENU menu) {
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    if (W <= 0 || H <= 0) return;
    TDibBitmap bitmap(W, H);
    GdiFlush();
    PixelView view = bitmap.View();
    const TDataSkinObject* element = skin.MenuItem && !skin.MenuItem->Image.Empty() ? skin.MenuItem.get() : nullptr;
    bool content = true;
    if (!element) {
        FillRect(view, {0, 0, W, H}, SkinPixel(selected ? skin.Hilight : skin.Menu));
    } else {
        POINT offset{};
        const TDibBitmap* back = PopMenuBackground(menu, &offset);
        if (back) {
            BitBlt(bitmap.Dc(), 0, 0, W, H, const_cast<TDibBitmap*>(back)->Dc(), rect.left + offset.x,
                   rect.top + offset.y, SRCCOPY);
            GdiFlush();
        } else {
            FillRect(view, {0, 0, W, H}, SkinPixel(skin.Menu));
        }
        if (item.IsLine()) {
            DrawSeparatorImage(view, *element);
            content = false;
        } else {
            DrawNinePiece(view, {0, 0, W, H}, element->Image, element->Margins(), false, element->Tile != 0, 5,
                          selected ? 4 : 1, element->Trans != 0);
        }
    }
    if (content) {
        ui::TCanvas canvas(bitmap.Dc());
        ui::AssignMenuFont(canvas.Font());
        DrawSkinMenuItem(skin, item, canvas, selected, RECT{0, 0, W, H});
    }
    bitmap.Draw(dc, rect.left, rect.top);
}

// ---------------------------------------------------------------- menu messages

bool SkinMenuMessage(TWinSkinForm& frame, UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
    TSkinData* skin = frame.SkinData();
    if (msg == WM_MENUCHAR) {
        // Drop-down items are owner-drawn while they show: the system no longer matches "&".
        result = ui::TMenu::MenuCharAnswer(reinterpret_cast<HMENU>(l), w);
        return result != 0;
    }
    if (!skin || !ManagerActive()) return false;
    ui::TMainMenu* mainMenu = frame.Form() ? frame.Form()->Menu() : nullptr;
    // Items of the toolkit's popup menus draw through their own handlers.
    auto popupItem = [&](ULONG_PTR data) {
        ui::TMenuItem* item = ui::TMenuItem::FromData(data);
        return item && !dynamic_cast<ui::TMainMenu*>(item->GetParentMenu());
    };
    if (msg == WM_MEASUREITEM) {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        if (!m || m->CtlType != ODT_MENU || popupItem(m->itemData)) return false;
        ui::TMenuItem* item = mainMenu ? mainMenu->FindItem(m->itemID) : nullptr;
        std::string text;
        std::string keys;
        if (item && item != mainMenu->Items()) {
            text = item->Caption();
            keys = ui::ShortCutToText(item->ShortCut());
        } else {
            HMENU open = OpenDropDownMenu() ? OpenDropDownMenu() : GetSystemMenu(frame.Window(), FALSE);
            char buf[kMaxCaption + 1] = {0};
            GetMenuStringA(open, m->itemID, buf, sizeof buf, MF_BYCOMMAND);
            text = buf;
            if (auto tab = text.find('\t'); tab != std::string::npos) {
                keys = text.substr(tab + 1);
                text.resize(tab);
            }
        }
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, MenuFont());
        const std::string shown = ui::StripAccelerator(text);
        // A gap between caption and shortcut, so they never touch.
        const int ppi = ui::TForm::ScreenPixelsPerInch();
        m->itemWidth = static_cast<UINT>(TextWidth(dc, shown) + (keys.empty() ? 0 : TextWidth(dc, keys) + 16) +
                                         ScaleToDpi(kMenuItemExtraWidth - 2, ppi));
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        // Room for the glyph column and a pixel above and below it.
        m->itemHeight = text.empty() || text == "-"
                            ? 8u
                            : static_cast<UINT>(std::max<int>(tm.tmHeight + 4, ScaleToDpi(kMenuGlyphSide, ppi) + 2));
        if (SkinManage() && SkinManage()->Win9x) m->itemHeight += 4;
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        result = TRUE;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        if (!d || d->CtlType != ODT_MENU || popupItem(d->itemData)) return false;
        HMENU menu = reinterpret_cast<HMENU>(d->hwndItem);
        const bool selected = (d->itemState & ODS_SELECTED) != 0;
        ui::TMenuItem* item = ui::TMenuItem::FromData(d->itemData);
        if (!item && mainMenu) {
            item = mainMenu->FindItem(d->itemID);
            if (item == mainMenu->Items()) item = nullptr;
        }
        if (item) {
            DrawSkinnedMenuItem(*skin, *item, d->hDC, d->rcItem, selected, menu);
        } else {
            TTempItem temp(menu, d->itemID);
            DrawSkinnedMenuItem(*skin, temp.Item, d->hDC, d->rcItem, selected, menu);
        }
        result = TRUE;
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- popup menus of forms

void SetSkinPopupMenusOwnerDraw(ui::TForm& form, TSkinData& data, bool on) {
    for (ui::TComponent* c : form.Components()) {
        auto* menu = dynamic_cast<ui::TPopupMenu*>(c);
        if (!menu) continue;
        const bool skinned = on && menu->Tag % 100 != data.DisableTag && data.HasControl(xcPopupMenu);
        if (!skinned) {
            RestoreMenu(menu);
            continue;
        }
        if (!menu->OwnerDrawBeforeSkin) menu->OwnerDrawBeforeSkin = menu->OwnerDraw();
        ForEachItem(menu->Items(), [&](ui::TMenuItem* item) {
            if (item->Tag == 999) {  // never drawn by the skin
                GiveBack(item);
                return;
            }
            // An item with a drawing of its own keeps it.
            if (!item->MeasureBeforeSkin && item->OnDrawItem) return;
            if (!item->MeasureBeforeSkin) item->MeasureBeforeSkin = item->OnMeasureItem;
            item->OnDrawItem = [](ui::TMenuItem* sender, ui::TCanvas& canvas, const RECT& rect, bool selected) {
                HMENU parent = sender->Parent() ? sender->Parent()->Handle() : nullptr;
                DrawSkinnedMenuItem(SkinOfItem(*sender), *sender, canvas.Handle(), rect, selected, parent);
            };
            item->OnMeasureItem = [](ui::TMenuItem* sender, ui::TCanvas&, int& width, int& height) {
                width += ScaleToDpi(kMenuItemExtraWidth, ui::TForm::ScreenPixelsPerInch());
                TSkinManage* m = SkinManage();
                if (m && m->Win9x && !sender->IsLine()) height += 4;
            };
        });
        menu->SetOwnerDraw(true);
    }
}

}  // namespace kt
