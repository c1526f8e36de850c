#include "ui/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "ui/Application.h"
#include "ui/Menus.h"

namespace kt::ui {

namespace {
const char* const kObjectProp = "KtControl";
}

// core/Color.h numbers the system colours without the Windows header.
static_assert(clWindow == SysColor(COLOR_WINDOW) && clBtnFace == SysColor(COLOR_BTNFACE));

COLORREF ColorToRGB(TColor color) {
    if (color < 0) return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color);
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_.OnChange = [this] {
        ParentFont = false;
        FontChanged();
    };
}

TControl::~TControl() {
    if (parent_) {
        auto& list = parent_->controls_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_) {
        auto& list = parent_->controls_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    parent_ = parent;
    if (!parent_) return;
    parent_->controls_.push_back(this);
    if (ParentFont) {
        auto keep = font_.OnChange;
        font_.OnChange = nullptr;
        font_.Assign(parent_->Font());
        font_.OnChange = keep;
    }
    if (auto* win = dynamic_cast<TWinControl*>(this); win && parent_->HandleAllocated())
        win->Handle();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::SetVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    Perform(CM_VISIBLECHANGED, v);
}

void TControl::SetEnabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetCaption(const std::string& text) {
    caption_ = text;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor c) {
    color_ = c;
    Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM w, LPARAM l) {
    TMessage m{msg, w, l, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& m) { DefaultHandler(m); }

void TControl::Click() {
    if (OnClick) OnClick();
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Children are components of the form, not of their parent: detach them first.
    for (TControl* c : std::vector<TControl*>(controls_)) c->parent_ = nullptr;
    controls_.clear();
    DestroyHandle();
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    HWND h = handle_;
    DestroyWindow(h);
    handle_ = nullptr;
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<TWinControl*>(GetPropA(hwnd, kObjectProp)) : nullptr;
}

HWND TWinControl::Handle() {
    if (!handle_) CreateWnd();
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.style = WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED) |
              (TabStop ? WS_TABSTOP : 0);
    p.x = left_;
    p.y = top_;
    p.width = width_;
    p.height = height_;
    p.parent = parent_ ? parent_->Handle() : nullptr;
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (p.winClass.empty()) {
        // Toolkit windows get a class of their own, named after the object's class.
        const char* cls = ClassName();
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        if (!GetClassInfoExA(inst, cls, &wc)) {
            wc = WNDCLASSEXA{};
            wc.cbSize = sizeof wc;
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = MainWndProc;
            wc.hInstance = inst;
            wc.hIcon = LoadIconA(inst, MAKEINTRESOURCEA(1));
            if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
            wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = cls;
            RegisterClassExA(&wc);
        }
        defWndProc_ = DefWindowProcA;
        handle_ = CreateWindowExA(p.exStyle, cls, caption_.c_str(), p.style, p.x, p.y, p.width, p.height,
                                  p.parent, nullptr, inst, this);
    } else {
        HWND h = CreateWindowExA(p.exStyle, p.winClass.c_str(), caption_.c_str(), p.style, p.x, p.y, p.width,
                                 p.height, p.parent, nullptr, inst, nullptr);
        if (h) {
            handle_ = h;
            SetPropA(h, kObjectProp, this);
            defWndProc_ = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainWndProc)));
        }
    }
    if (!handle_) throw std::runtime_error("Error creating window " + Name);
    HandleCreated();
}

bool TControl::EffectiveShowHint() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (c->ShowHint) return true;
    return false;
}

void TWinControl::RegisterHint() {
    if (Hint.empty() || !handle_ || !EffectiveShowHint()) return;
    HWND root = GetAncestor(handle_, GA_ROOT);
    if (!root || root == handle_) return;
    // One tip window per top-level window, owned by it and so destroyed with it.
    auto tip = static_cast<HWND>(GetPropA(root, "KtHints"));
    if (!tip) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, root, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
        if (!tip) return;
        SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 320);
        SetPropA(root, "KtHints", tip);
    }
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = root;
    ti.uId = reinterpret_cast<UINT_PTR>(handle_);
    ti.lpszText = Hint.data();
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void TWinControl::HandleCreated() {
    RegisterHint();
    ApplyFont();
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->Handle();
}

void TWinControl::ApplyFont() {
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
}

void TWinControl::FontChanged() {
    ApplyFont();
    for (TControl* c : controls_) {
        if (!c->ParentFont) continue;
        auto keep = c->font_.OnChange;
        c->font_.OnChange = nullptr;
        c->font_.Assign(font_);
        c->font_.OnChange = keep;
        c->FontChanged();
    }
    Perform(CM_FONTCHANGED);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (handle_)
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::UpdateBoundsFromWindow() {
    RECT r;
    if (!handle_ || !GetWindowRect(handle_, &r)) return;
    HWND parent = GetParent(handle_);
    if (parent && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
}

void TWinControl::SetVisible(bool v) {
    TControl::SetVisible(v);
    if (handle_) ShowWindow(handle_, v ? SW_SHOW : SW_HIDE);
}

void TWinControl::SetEnabled(bool v) {
    if (handle_) EnableWindow(handle_, v);
    TControl::SetEnabled(v);
}

std::string TWinControl::Caption() const {
    if (!handle_) return caption_;
    int n = GetWindowTextLengthA(handle_);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(handle_, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(n, 0)));
    return s;
}

void TWinControl::SetCaption(const std::string& text) {
    caption_ = text;
    if (handle_) SetWindowTextA(handle_, text.c_str());
    Perform(CM_TEXTCHANGED);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::SetFocus() {
    if (Handle()) ::SetFocus(handle_);
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

int TWinControl::ClientWidth() {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.right;
}

int TWinControl::ClientHeight() {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.bottom;
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_COMMAND:
            if (m.LParam) {
                if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam))) {
                    child->CommandNotify(HIWORD(m.WParam));
                    m.Result = 0;
                    return;
                }
            }
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
                if (LRESULT r = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam)) {
                    m.Result = r;
                    return;
                }
            }
            break;
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
            // Owner-drawn menu items draw themselves, whichever window the menu reports to.
            if (TMenu::HandleOwnerDrawMessage(m.Msg, m.LParam)) {
                m.Result = TRUE;
                return;
            }
            break;
        case WM_MOUSEMOVE:
            if (!mouseInside_) {
                mouseInside_ = true;
                TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
                TrackMouseEvent(&t);
                Perform(CM_MOUSEENTER);
            }
            break;
        case WM_MOUSELEAVE:
            mouseInside_ = false;
            Perform(CM_MOUSELEAVE);
            break;
        case WM_WINDOWPOSCHANGED:
            DefaultHandler(m);
            UpdateBoundsFromWindow();
            return;
        default:
            if ((m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) || (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400)) {
                m.Result = 0;
                return;
            }
            break;
    }
    DefaultHandler(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (handle_ && defWndProc_)
        m.Result = CallWindowProcA(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
    else
        m.Result = 0;
}

LRESULT CALLBACK TWinControl::MainWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    auto* self = static_cast<TWinControl*>(GetPropA(hwnd, kObjectProp));
    if (!self && msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
        self = static_cast<TWinControl*>(cs->lpCreateParams);
        if (self) {
            self->handle_ = hwnd;
            SetPropA(hwnd, kObjectProp, self);
        }
    }
    if (!self) return DefWindowProcA(hwnd, msg, w, l);
    TMessage m{msg, w, l, 0};
    try {
        self->WindowProc(m);
    } catch (const std::exception& e) {
        TApplication::Instance().HandleException(e);
    }
    if (msg == WM_NCDESTROY) {
        // The handle is gone; the object may be made a new one later.
        WNDPROC old = self->defWndProc_;
        RemovePropA(hwnd, kObjectProp);
        if (old && old != DefWindowProcA)
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        self->handle_ = nullptr;
    }
    return m.Result;
}

}  // namespace kt::ui
