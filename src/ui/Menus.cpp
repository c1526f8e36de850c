#include "ui/Menus.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>

#include "core/Errors.h"
#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/ImgList.h"

namespace kt::ui {

namespace {

// Command numbers in use; each item takes the lowest free one. WM_COMMAND carries 16 bits.
std::set<UINT>& UsedCommands() {
    static std::set<UINT> used;
    return used;
}

UINT AllocateCommand() {
    auto& used = UsedCommands();
    UINT id = 1;
    for (UINT u : used) {
        if (u != id) break;
        ++id;
    }
    if (id > 0xFFFF) throw Exception("Too many menu items");
    used.insert(id);
    return id;
}

// Items alive, so a number handed back by the system is checked before it is used.
std::set<const TMenuItem*>& LiveItems() {
    static std::set<const TMenuItem*> items;
    return items;
}

LRESULT CALLBACK PopupWindowProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if ((msg == WM_MEASUREITEM || msg == WM_DRAWITEM) && TMenu::HandleOwnerDrawMessage(msg, l)) return TRUE;
    if (msg == WM_MENUCHAR)
        if (LRESULT r = TMenu::MenuCharAnswer(reinterpret_cast<HMENU>(l), w)) return r;
    return DefWindowProcA(h, msg, w, l);
}

// The window popup menus report to when their owner has none.
HWND PopupWindow() {
    static HWND window = [] {
        HINSTANCE inst = GetModuleHandleA(nullptr);
        WNDCLASSA wc{};
        wc.lpfnWndProc = PopupWindowProc;
        wc.hInstance = inst;
        wc.lpszClassName = "TPUtilWindow";
        RegisterClassA(&wc);
        return CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, inst,
                               nullptr);
    }();
    return window;
}

}  // namespace

void AssignMenuFont(TFont& font) {
    NONCLIENTMETRICSA m{};
    m.cbSize = sizeof m;
    BOOL ok = SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0);
    if (!ok) {
        // Older systems know the record without its last field.
        m.cbSize = sizeof m - sizeof(int);
        ok = SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0);
    }
    if (!ok) return;
    font.SetName(m.lfMenuFont.lfFaceName);
    font.SetHeight(m.lfMenuFont.lfHeight);
    font.SetStyle((m.lfMenuFont.lfWeight >= FW_BOLD ? fsBold : 0u) | (m.lfMenuFont.lfItalic ? fsItalic : 0u));
}

std::string StripAccelerator(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) ++i;
        out += s[i];
    }
    return out;
}

char AcceleratorChar(const std::string& s) {
    for (size_t i = 0; i + 1 < s.size(); ++i) {
        if (s[i] != '&') continue;
        if (s[i + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(s[i + 1])));
        ++i;
    }
    return 0;
}

std::string ShortCutToText(TShortCut s) {
    const WORD key = s & 0xFF;
    if (!key) return {};
    std::string name;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) name = std::string(1, static_cast<char>(key));
    else if (key >= VK_F1 && key <= VK_F24) name = "F" + std::to_string(key - VK_F1 + 1);
    else {
        switch (key) {
            case VK_BACK: name = "BkSp"; break;
            case VK_TAB: name = "Tab"; break;
            case VK_RETURN: name = "Enter"; break;
            case VK_ESCAPE: name = "Esc"; break;
            case VK_SPACE: name = "Space"; break;
            case VK_PRIOR: name = "PgUp"; break;
            case VK_NEXT: name = "PgDn"; break;
            case VK_END: name = "End"; break;
            case VK_HOME: name = "Home"; break;
            case VK_LEFT: name = "Left"; break;
            case VK_UP: name = "Up"; break;
            case VK_RIGHT: name = "Right"; break;
            case VK_DOWN: name = "Down"; break;
            case VK_INSERT: name = "Ins"; break;
            case VK_DELETE: name = "Del"; break;
            default: {
                char buf[64] = {0};
                UINT scan = MapVirtualKeyA(key, 0);
                if (GetKeyNameTextA(static_cast<LONG>(scan << 16), buf, sizeof buf) > 0) name = buf;
                break;
            }
        }
    }
    if (name.empty()) return {};
    std::string text;
    if (s & scShift) text += "Shift+";
    if (s & scCtrl) text += "Ctrl+";
    if (s & scAlt) text += "Alt+";
    return text + name;
}

bool TAction::Execute() {
    if (!Enabled || !OnExecute) return false;
    OnExecute();
    return true;
}

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand()) {
    LiveItems().insert(this);
}

TMenuItem::~TMenuItem() {
    LiveItems().erase(this);
    UsedCommands().erase(command_);
    if (parent_) parent_->Remove(this);
    for (TMenuItem* child : items_) child->parent_ = nullptr;
    items_.clear();
    DestroyHandle();
}

TMenuItem* TMenuItem::FromData(ULONG_PTR data) {
    auto* item = reinterpret_cast<const TMenuItem*>(data);
    return LiveItems().count(item) ? const_cast<TMenuItem*>(item) : nullptr;
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError::IndexOutOfBounds(index);
    return items_[static_cast<size_t>(index)];
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) return;
    if (index < 0 || index > Count())
        throw EListError::IndexOutOfBounds(index);
    if (item->parent_) item->parent_->Remove(item);
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    RebuildHandle();
    Changed(true);
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    RebuildHandle();
    Changed(true);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->menu_;
}

void TMenuItem::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    // A separator and a text item are built differently: that is a change of structure.
    const bool wasLine = IsLine();
    caption_ = caption;
    Changed(wasLine != IsLine());
}

void TMenuItem::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Changed(false);
}

void TMenuItem::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    Changed(false);
}

void TMenuItem::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    Changed(true);
}

void TMenuItem::SetDefault(bool v) {
    if (v == default_) return;
    default_ = v;
    Changed(false);
}

void TMenuItem::SetShortCut(TShortCut s) {
    if (s == shortCut_) return;
    shortCut_ = s;
    Changed(false);
}

void TMenuItem::SetAction(TAction* action) {
    action_ = action;
    if (!action) return;
    if (!action->Caption.empty()) caption_ = action->Caption;
    if (!action->Hint.empty()) Hint = action->Hint;
    enabled_ = action->Enabled;
    shortCut_ = action->ShortCut;
    Changed(true);
}

void TMenuItem::InitiateAction() {
    if (!action_) return;
    if (action_->OnUpdate) action_->OnUpdate(*action_);
    if (!action_->Caption.empty()) SetCaption(action_->Caption);
    SetEnabled(action_->Enabled);
    SetShortCut(action_->ShortCut);
}

std::string TMenuItem::DisplayText() const {
    const std::string keys = ShortCutToText(shortCut_);
    return keys.empty() ? caption_ : caption_ + "\t" + keys;
}

void TMenuItem::FillMenuItemInfo(MENUITEMINFOW& info, std::wstring& text) {
    TMenu* menu = GetParentMenu();
    const bool ownerDraw = menu && menu->OwnerDraw();
    text = ToWide(DisplayText());
    info = MENUITEMINFOW{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
    // A drawn separator stays a separator, so keyboard moves through the menu skip it.
    info.fType = (ownerDraw ? MFT_OWNERDRAW : MFT_STRING) | (IsLine() ? MFT_SEPARATOR : 0);
    info.fState = (enabled_ ? MFS_ENABLED : MFS_GRAYED) | (checked_ ? MFS_CHECKED : 0) | (default_ ? MFS_DEFAULT : 0);
    info.wID = command_;
    info.hSubMenu = items_.empty() ? nullptr : Handle();
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    info.dwTypeData = IsLine() && !ownerDraw ? nullptr : text.data();
    info.cch = static_cast<UINT>(text.size());
}

HMENU TMenuItem::Handle() {
    if (!handle_) {
        TMenu* menu = parent_ ? nullptr : menu_;
        handle_ = menu && menu->IsMainMenu() ? CreateMenu() : CreatePopupMenu();
        if (!handle_) throw Exception("Error creating menu");
        for (TMenuItem* child : items_)
            if (child->visible_) child->AppendTo(handle_);
    }
    return handle_;
}

void TMenuItem::AppendTo(HMENU menu) {
    MENUITEMINFOW info;
    std::wstring text;
    FillMenuItemInfo(info, text);
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

void TMenuItem::RebuildHandle() {
    if (!handle_) return;
    // RemoveMenu keeps the sub-items' own menus; they are rebuilt into the new entries.
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
    for (TMenuItem* child : items_)
        if (child->visible_) child->AppendTo(handle_);
}

void TMenuItem::DestroyHandle() {
    if (!handle_) return;
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
    for (TMenuItem* child : items_) child->DestroyHandle();
    DestroyMenu(handle_);
    handle_ = nullptr;
}

void TMenuItem::Changed(bool structure) {
    if (parent_ && parent_->handle_) {
        if (structure) {
            parent_->RebuildHandle();
        } else if (visible_) {
            MENUITEMINFOW info;
            std::wstring text;
            FillMenuItemInfo(info, text);
            SetMenuItemInfoW(parent_->handle_, command_, FALSE, &info);
        }
    }
    if (TMenu* menu = GetParentMenu(); menu && menu->Items()->HandleAllocated()) menu->MenuChanged();
}

TMenuItem* TMenuItem::Find(UINT command) {
    if (command_ == command) return this;
    for (TMenuItem* child : items_)
        if (TMenuItem* found = child->Find(command)) return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut s) {
    if (!visible_ || !enabled_) return nullptr;
    if (parent_ && shortCut_ == s) return this;
    for (TMenuItem* child : items_)
        if (TMenuItem* found = child->FindShortCut(s)) return found;
    return nullptr;
}

void TMenuItem::Click() {
    if (!enabled_) return;
    if (OnClick) OnClick();
    else if (action_) action_->Execute();
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    if (IsLine()) {
        height = 8;
    } else {
        const std::string text = StripAccelerator(caption_);
        const std::string keys = ShortCutToText(shortCut_);
        width = 20 + canvas.TextWidth(text) + (keys.empty() ? 0 : 16 + canvas.TextWidth(keys)) + 12;
        height = std::max(canvas.TextHeight("W") + 4, static_cast<int>(GetSystemMetrics(SM_CYMENUSIZE)));
    }
    if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas& canvas, const RECT& rect, unsigned state) {
    const bool selected = (state & odSelected) != 0;
    if (OnDrawItem) {
        OnDrawItem(this, canvas, rect, selected);
        return;
    }
    // The standard look, for items that do not draw themselves.
    HDC dc = canvas.Handle();
    if (IsLine()) {
        canvas.Brush.Color = clMenu;
        canvas.FillRect(rect);
        RECT line = rect;
        line.top += (rect.bottom - rect.top) / 2 - 1;
        line.bottom = line.top + 2;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    canvas.Brush.Color = selected ? clHighlight : clMenu;
    canvas.FillRect(rect);
    const bool grayed = (state & (odGrayed | odDisabled)) != 0 || !enabled_;
    canvas.Font().SetColor(GetSysColor(grayed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    if (checked_) {
        // A tick in the check column.
        const int cx = rect.left + 6, cy = (rect.top + rect.bottom) / 2;
        canvas.Pen.Color = static_cast<TColor>(canvas.Font().Color());
        for (int i = 0; i < 2; ++i) {
            canvas.MoveTo(cx, cy - 1 + i);
            canvas.LineTo(cx + 2, cy + 1 + i);
            canvas.LineTo(cx + 7, cy - 4 + i);
        }
    }
    RECT r = rect;
    r.left += 20;
    r.right -= 8;
    canvas.DrawText(caption_, r, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    const std::string keys = ShortCutToText(shortCut_);
    if (!keys.empty()) canvas.DrawText(keys, r, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
}

// ---------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner) {
    items_ = new TMenuItem(this);
    items_->menu_ = this;
}

TMenu::~TMenu() {
    // The root item goes with the components; it must not call back into this menu then.
    items_->menu_ = nullptr;
}

void TMenu::SetOwnerDraw(bool v) {
    if (v == ownerDraw_) return;
    ownerDraw_ = v;
    // Every entry changes its kind: build them all again.
    std::vector<TMenuItem*> stack{items_};
    while (!stack.empty()) {
        TMenuItem* item = stack.back();
        stack.pop_back();
        item->RebuildHandle();
        for (TMenuItem* child : item->items_) stack.push_back(child);
    }
    if (items_->HandleAllocated()) MenuChanged();
}

bool TMenu::DispatchCommand(UINT command) {
    TMenuItem* item = FindItem(command);
    if (!item || item == items_) return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(TShortCut shortCut) {
    TMenuItem* item = items_->FindShortCut(shortCut);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::HandleOwnerDrawMessage(UINT msg, LPARAM l) {
    if (msg == WM_MEASUREITEM) {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        if (m->CtlType != ODT_MENU) return false;
        TMenuItem* item = TMenuItem::FromData(m->itemData);
        if (!item) return false;
        HDC dc = GetDC(nullptr);
        {
            TCanvas canvas(dc);
            AssignMenuFont(canvas.Font());
            int width = static_cast<int>(m->itemWidth), height = static_cast<int>(m->itemHeight);
            item->MeasureItem(canvas, width, height);
            m->itemWidth = static_cast<UINT>(std::max(width, 0));
            m->itemHeight = static_cast<UINT>(std::max(height, 0));
        }
        ReleaseDC(nullptr, dc);
        return true;
    }
    if (msg == WM_DRAWITEM) {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        if (d->CtlType != ODT_MENU) return false;
        TMenuItem* item = TMenuItem::FromData(d->itemData);
        if (!item) return false;
        const int saved = SaveDC(d->hDC);
        {
            TCanvas canvas(d->hDC);
            AssignMenuFont(canvas.Font());
            const bool selected = (d->itemState & ODS_SELECTED) != 0;
            canvas.Font().SetColor(GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
            canvas.Brush.Color = selected ? clHighlight : clMenu;
            unsigned state = (selected ? odSelected : 0u) | ((d->itemState & ODS_GRAYED) ? odGrayed : 0u) |
                             ((d->itemState & ODS_DISABLED) ? odDisabled : 0u) |
                             ((d->itemState & ODS_CHECKED) ? odChecked : 0u) |
                             ((d->itemState & ODS_DEFAULT) ? odDefault : 0u);
            // A handler's error must not escape into the system's menu code: report it.
            try {
                item->DrawItem(canvas, d->rcItem, state);
            } catch (const std::exception& e) {
                TApplication::Instance().HandleException(e);
            }
        }
        RestoreDC(d->hDC, saved);
        return true;
    }
    return false;
}

LRESULT TMenu::MenuCharAnswer(HMENU menu, WPARAM w) {
    const int count = menu ? GetMenuItemCount(menu) : -1;
    const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(LOWORD(w) & 0xFF)));
    if (count <= 0 || !key) return 0;
    std::vector<int> matches;
    int current = -1;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.fState & MFS_HILITE) current = i;
        if (info.fType & MFT_SEPARATOR) continue;
        std::string caption;
        if (TMenuItem* item = TMenuItem::FromData(info.dwItemData)) {
            caption = item->Caption();
        } else {
            wchar_t text[256] = {0};
            const int n = GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
            caption = FromWide(text, n);
        }
        if (AcceleratorChar(caption) == key) matches.push_back(i);
    }
    if (matches.empty()) return 0;
    if (matches.size() == 1) return MAKELRESULT(matches[0], MNC_EXECUTE);
    // Several items share the letter: each press selects the next one, as the system does.
    for (int i : matches)
        if (i > current) return MAKELRESULT(i, MNC_SELECT);
    return MAKELRESULT(matches[0], MNC_SELECT);
}

// ---------------------------------------------------------------- TMainMenu

void TMainMenu::MenuChanged() {
    if (OnChange) OnChange();
}

// ---------------------------------------------------------------- TPopupMenu

HWND TPopupMenu::OwnerWindow() {
    if (auto* control = dynamic_cast<TWinControl*>(Owner())) return control->Handle();
    return PopupWindow();
}

void TPopupMenu::Popup(int x, int y, HWND window) {
    if (OnPopup) OnPopup();
    const UINT align = Alignment == TPopupAlignment::paRight    ? TPM_RIGHTALIGN
                       : Alignment == TPopupAlignment::paCenter ? TPM_CENTERALIGN
                                                                : TPM_LEFTALIGN;
    const UINT command = static_cast<UINT>(TrackPopupMenu(Handle(), align | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                          x, y, 0, window ? window : OwnerWindow(), nullptr));
    if (command) DispatchCommand(command);
}

}  // namespace kt::ui
