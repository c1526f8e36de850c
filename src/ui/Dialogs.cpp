#include "ui/Dialogs.h"

#include <algorithm>
#include <vector>

#include "core/Errors.h"
#include "ui/Application.h"

namespace kt::ui {

namespace {

const UINT kReleaseMessage = WM_APP + 0x2F1;
std::vector<TDialogForm*> g_released;

// Released forms are freed from a window of their own, never from inside the released
// form's window procedure, which may still be running below the handler that released it.
LRESULT CALLBACK ReleaseWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == kReleaseMessage) {
        TDialogForm::FreeReleasedForms();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, w, l);
}

HWND ReleaseWindow() {
    static HWND window = CreateMessageWindow(L"KtReleaseWindow", ReleaseWndProc);
    return window;
}

constexpr LONG kButtonTypeMask = 0xF;

// Glyph and caption of an owner-drawn button in the control's own font.
void DrawButtonContent(const TButtonGlyph& glyph, HWND h, HDC dc, const RECT& r, TGlyphState state, int shift) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    bool greyed = false;
    const int index = glyph.FrameFor(state, greyed);
    const COLORREF text = GetSysColor(state == TGlyphState::Disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    glyph.DrawGlyphAndCaption(dc, r, WindowTextW(h), index, greyed, text, shift);
    if (oldFont) SelectObject(dc, oldFont);
}

}  // namespace

TForm* GetParentForm(TControl* control) {
    TControl* c = control;
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TForm*>(c);
}

// ---------------------------------------------------------------- TDialogForm

TDialogForm::TDialogForm(TComponent* owner) : TForm(owner) {}

TDialogForm::~TDialogForm() {
    g_released.erase(std::remove(g_released.begin(), g_released.end(), this), g_released.end());
}

void TDialogForm::Release() {
    if (released_) return;
    released_ = true;
    g_released.push_back(this);
    PostMessageA(ReleaseWindow(), kReleaseMessage, 0, 0);
}

void TDialogForm::FreeReleasedForms() {
    while (!g_released.empty()) {
        TDialogForm* f = g_released.back();
        g_released.pop_back();
        f->DoDestroy();
        delete f;
    }
}

int TDialogForm::ShowModal() {
    if (modal_ || Visible()) throw Exception("Cannot make a visible window modal");
    TApplication& app = TApplication::Instance();
    std::vector<HWND> disabled;
    for (TForm* f : app.Forms()) {
        if (f == this || !f->HandleAllocated()) continue;
        HWND h = f->Handle();
        if (IsWindowEnabled(h)) {
            EnableWindow(h, FALSE);
            disabled.push_back(h);
        }
    }
    ModalResult = mrNone;
    modal_ = true;
    int result = mrCancel;
    try {
        Show();
        SetForegroundWindow(Handle());
        MSG msg;
        while (ModalResult == mrNone) {
            BOOL r = GetMessageW(&msg, nullptr, 0, 0);
            if (r == 0) {
                // The program ends: the outer loop must see the quit too.
                PostQuitMessage(static_cast<int>(msg.wParam));
                ModalResult = mrCancel;
                break;
            }
            if (r == -1) {
                ModalResult = mrCancel;
                break;
            }
            if (IsDialogKeyMessage(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        result = ModalResult;
    } catch (...) {
        for (HWND h : disabled)
            if (IsWindow(h)) EnableWindow(h, TRUE);
        modal_ = false;
        throw;
    }
    // The other windows come back before this one goes, so that one of them is activated.
    for (HWND h : disabled)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    modal_ = false;
    Hide();
    return result;
}

bool TDialogForm::DialogKey(WORD key) {
    if (TForm::DialogKey(key)) return true;
    if (key == VK_ESCAPE && modal_) {
        ModalResult = mrCancel;
        return true;
    }
    return false;
}

void TDialogForm::WndProc(TMessage& m) {
    if (m.Msg == WM_CLOSE && modal_) {
        bool canClose = true;
        if (OnCloseQuery) OnCloseQuery(canClose);
        if (canClose) ModalResult = mrCancel;
        m.Result = 0;
        return;
    }
    TForm::WndProc(m);
}

// ---------------------------------------------------------------- TBitBtn

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetKind(TBitBtnKind kind) {
    kind_ = kind;
    switch (kind) {
        case TBitBtnKind::bkOK:
            if (caption_.empty()) SetCaption("OK");
            Default = true;
            ModalResult = mrOk;
            break;
        case TBitBtnKind::bkCancel:
            if (caption_.empty()) SetCaption("Cancel");
            Cancel = true;
            ModalResult = mrCancel;
            break;
        case TBitBtnKind::bkCustom: break;
    }
}

void TBitBtn::CreateParams(TCreateParams& p) {
    TButton::CreateParams(p);
    if (!Glyph().Empty()) p.style = (p.style & ~kButtonTypeMask) | BS_OWNERDRAW;
}

void TBitBtn::GlyphChanged() {
    if (!handle_) return;
    const LONG type = !Glyph().Empty() ? BS_OWNERDRAW : Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((GetWindowLongW(handle_, GWL_STYLE) & kButtonTypeMask) != type) SendMessageW(handle_, BM_SETSTYLE, type, TRUE);
    Invalidate();
}

void TBitBtn::WndProc(TMessage& m) {
    if (m.Msg == CN_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
        m.Result = TRUE;
        return;
    }
    TButton::WndProc(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& d) {
    HDC dc = d.hDC;
    RECT r = d.rcItem;
    const bool pressed = (d.itemState & ODS_SELECTED) != 0, disabled = (d.itemState & ODS_DISABLED) != 0;
    // The default button's dark outline, as the system draws it around its own.
    if (Default) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    RECT content = r;
    InflateRect(&content, -2, -2);
    const TGlyphState state = disabled ? TGlyphState::Disabled : pressed ? TGlyphState::Pressed : TGlyphState::Up;
    DrawButtonContent(*this, handle_, dc, content, state, pressed ? 1 : 0);
    if ((d.itemState & ODS_FOCUS) && !(d.itemState & ODS_NOFOCUSRECT)) {
        InflateRect(&r, -3, -3);
        DrawFocusRect(dc, &r);
    }
}

void TBitBtn::Click() {
    // The handler runs first: it may free a form that is not modal.
    TForm* form = GetParentForm(this);
    const int result = ModalResult;
    TButton::Click();
    if (result != mrNone)
        if (auto* d = dynamic_cast<TDialogForm*>(form); d && d->Modal()) d->ModalResult = result;
}

// ---------------------------------------------------------------- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TWinControl(owner) { TabStop = false; }

void TSpeedButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.winClass = "BUTTON";
    p.style |= BS_OWNERDRAW;
    p.style &= ~WS_TABSTOP;
}

void TSpeedButton::SetFlat(bool flat) {
    if (flat == flat_) return;
    flat_ = flat;
    Invalidate();
}

void TSpeedButton::SetDown(bool down) {
    if (GroupIndex == 0) down = false;
    if (down == isDown_ || (!down && !AllowAllUp)) return;
    isDown_ = down;
    if (down && parent_)
        for (TControl* c : parent_->Controls())
            if (auto* other = dynamic_cast<TSpeedButton*>(c);
                other && other != this && other->GroupIndex == GroupIndex && other->isDown_) {
                other->isDown_ = false;
                other->Invalidate();
            }
    Invalidate();
}

void TSpeedButton::Click() {
    if (GroupIndex != 0) SetDown(!(isDown_ && AllowAllUp));
    TControl::Click();
}

void TSpeedButton::DrawItem(const DRAWITEMSTRUCT& d) {
    HDC dc = d.hDC;
    RECT r = d.rcItem;
    const bool pressed = (d.itemState & ODS_SELECTED) != 0, disabled = (d.itemState & ODS_DISABLED) != 0;
    const bool sunk = pressed || isDown_;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (flat_) {
        if (sunk)
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        else if (hot_ && !disabled)
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    } else {
        // A Down button that is not being pressed shows the checked pattern of a latched button.
        DrawFrameControl(dc, &r, DFC_BUTTON,
                         DFCS_BUTTONPUSH | (sunk ? DFCS_PUSHED : 0) | (isDown_ && !pressed ? DFCS_CHECKED : 0));
    }
    InflateRect(&r, -2, -2);
    const TGlyphState state = disabled ? TGlyphState::Disabled
                              : pressed ? TGlyphState::Pressed
                              : isDown_ ? TGlyphState::Down
                                        : TGlyphState::Up;
    DrawButtonContent(*this, handle_, dc, r, state, sunk ? 1 : 0);
}

bool TSpeedButton::SetEnumProperty(std::string_view name, int value) {
    if (name != "Flat") return false;
    SetFlat(value != 0);
    return true;
}

void TSpeedButton::SetPressed(bool pressed) {
    if (handle_) SendMessageW(handle_, BM_SETSTATE, pressed, 0);
}

void TSpeedButton::WndProc(TMessage& m) {
    // The button's own press handling would take the focus: the press is followed here.
    switch (m.Msg) {
        case CN_DRAWITEM:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
            m.Result = TRUE;
            return;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            hot_ = m.Msg == CM_MOUSEENTER;
            if (flat_) Invalidate();
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!enabled_) break;
            SetCapture(handle_);
            down_ = true;
            SetPressed(true);
            m.Result = 0;
            return;
        case WM_MOUSEMOVE:
            if (down_) {
                RECT r{};
                GetClientRect(handle_, &r);
                const POINT pt{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
                SetPressed(PtInRect(&r, pt) != FALSE);
            }
            break;
        case WM_LBUTTONUP:
            if (down_) {
                down_ = false;
                RECT r{};
                GetClientRect(handle_, &r);
                const POINT pt{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
                ReleaseCapture();
                SetPressed(false);
                if (PtInRect(&r, pt)) Click();
                m.Result = 0;
                return;
            }
            break;
        case WM_CAPTURECHANGED:
            if (down_) {
                down_ = false;
                SetPressed(false);
            }
            break;
        default: break;
    }
    TWinControl::WndProc(m);
}

void TSpeedButton::CommandNotify(WORD code) {
    // A skinned speed button reports its click as the push button painter does.
    if (code == BN_CLICKED) Click();
}

// ---------------------------------------------------------------- TOpenDialog

bool TOpenDialog::Execute() {
    FileDialogRequest request;
    request.title = Title;
    request.filter = Filter;
    request.initialDir = InitialDir;
    request.defaultExt = DefaultExt;
    request.fileName = "";
    request.onFolderChange = OnFolderChange;
    if (!Messages().OpenFile(request)) return false;
    FileName = request.fileName;
    return true;
}

}  // namespace kt::ui
