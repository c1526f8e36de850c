#include "ui/Controls.h"

#include "core/DpiScale.h"
#include "core/TextCodec.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <stdexcept>

#include "ui/Application.h"
#include "ui/Menus.h"

namespace kt::ui {

namespace {
// Child windows get an id of their own, so that a WM_MEASUREITEM (which names its control
// only by id) can be reflected.
UINT NextControlId() {
    static UINT next = 0;
    next = next % 0x7FFF + 1;
    return next;
}

// The "&" letter of a caption ("&&" is a plain ampersand), or 0.
wchar_t AccelChar(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') {
            std::size_t end = i + 1;
            NextCodePoint(caption, end);
            const std::wstring w = ToWide(caption.substr(i + 1, end - i - 1));
            return w.empty() ? 0 : w[0];
        }
        ++i;
    }
    return 0;
}

bool SameLetter(wchar_t a, wchar_t b) {
    return a && b &&
           CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(a))) ==
               CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(b)));
}
}  // namespace

std::wstring ToWide(const std::string& text) {
    // Most texts are ASCII: widened in place, as a long list fills with many of them.
    if (IsAscii(text)) return std::wstring(text.begin(), text.end());
    const std::u16string units = Utf8ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

std::string FromWide(const wchar_t* text, int length) {
    if (!text || length <= 0) return {};
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(length)));
}

std::wstring WindowTextW(HWND window) {
    const int n = GetWindowTextLengthW(window);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(window, s.data(), n + 1)));
    return s;
}

std::string WindowText(HWND window) {
    const std::wstring s = WindowTextW(window);
    return FromWide(s.data(), static_cast<int>(s.size()));
}

HWND CreateMessageWindow(const wchar_t* className, WNDPROC proc) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    if (!GetClassInfoW(inst, className, &wc)) {
        wc = WNDCLASSW{};
        wc.lpfnWndProc = proc;
        wc.hInstance = inst;
        wc.lpszClassName = className;
        RegisterClassW(&wc);
    }
    return CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst, nullptr);
}

// core/Color.h numbers the system colours without the Windows header.
static_assert(clWindow == SysColor(COLOR_WINDOW) && clBtnFace == SysColor(COLOR_BTNFACE));

COLORREF ColorToRGB(TColor color) {
    const auto c = static_cast<std::uint32_t>(color);
    if (c & 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFF));
    return static_cast<COLORREF>(c & 0xFFFFFF);
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
    if (brush_) DeleteObject(brush_);
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
    if (parentColor_) TakeParentColor();
    if (auto* win = dynamic_cast<TWinControl*>(this); win && parent_->HandleAllocated())
        win->Handle();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::ChangeScale(int to, int from) {
    if (to == from || to <= 0 || from <= 0) return;
    pixelsPerInch_ = to;
    // Each measure on its own, as the designer's scaling does: equal sizes stay equal.
    SetBounds(Rescale(left_, to, from), Rescale(top_, to, from), Rescale(width_, to, from),
              Rescale(height_, to, from));
    if (!ParentFont || !parent_) font_.ScaleTo(to);
}

int TControl::DpiScaled(int designed) const { return ScaleToDpi(designed, pixelsPerInch_); }

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
    parentColor_ = false;
    if (c == color_) return;
    color_ = c;
    ColorChanged();
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v) TakeParentColor();
}

void TControl::TakeParentColor() {
    if (!parent_ || parent_->Color() == color_) return;
    color_ = parent_->Color();
    ColorChanged();
}

void TControl::ColorChanged() { Invalidate(); }

bool AnswerCtlColor(TControl& c, TMessage& m) {
    if (m.Msg != CN_CTLCOLORSTATIC && m.Msg != CN_CTLCOLORBTN) return false;
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    SetTextColor(dc, c.Font().Color());
    SetBkColor(dc, ColorToRGB(c.Color()));
    SetBkMode(dc, TRANSPARENT);
    m.Result = reinterpret_cast<LRESULT>(c.ColorBrush());
    return true;
}

HBRUSH TControl::ColorBrush() {
    const COLORREF rgb = ColorToRGB(color_);
    if (!brush_ || rgb != brushRgb_) {
        if (brush_) DeleteObject(brush_);
        brush_ = CreateSolidBrush(rgb);
        brushRgb_ = rgb;
    }
    return brush_;
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
    return hwnd ? TSubclass::Find<TWinControl>(hwnd, MainWndProc) : nullptr;
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
    HINSTANCE inst = GetModuleHandleW(nullptr);
    const std::wstring caption = ToWide(caption_);
    // A child's id; a top-level window's menu is set later.
    HMENU id = (p.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NextControlId())) : nullptr;
    if (p.winClass.empty()) {
        // Toolkit windows get a class of their own, named after the object's class.
        const std::wstring cls = ToWide(ClassName());
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        if (!GetClassInfoExW(inst, cls.c_str(), &wc)) {
            wc = WNDCLASSEXW{};
            wc.cbSize = sizeof wc;
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = MainWndProc;
            wc.hInstance = inst;
            wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(1));
            if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
            wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = cls.c_str();
            RegisterClassExW(&wc);
        }
        handle_ = CreateWindowExW(p.exStyle, cls.c_str(), caption.c_str(), p.style, p.x, p.y, p.width, p.height,
                                  p.parent, id, inst, this);
    } else {
        // A system control made as a Unicode window and subclassed as one, so that no message
        // to it goes through an ANSI conversion.
        HWND h = CreateWindowExW(p.exStyle, ToWide(p.winClass).c_str(), caption.c_str(), p.style, p.x, p.y,
                                 p.width, p.height, p.parent, id, inst, nullptr);
        if (h) {
            handle_ = h;
            subclass_.Install(h, MainWndProc, this, TSubclass::TCharset::Wide);
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
        tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, root, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
        if (!tip) return;
        SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 320);
        SetPropA(root, "KtHints", tip);
    }
    std::wstring text = ToWide(Hint);
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = root;
    ti.uId = reinterpret_cast<UINT_PTR>(handle_);
    ti.lpszText = text.data();
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void TWinControl::SetHint(const std::string& hint) {
    if (hint == Hint) return;
    // The tip window keeps a copy of the text: the old tool goes, the new one comes.
    if (handle_) {
        HWND root = GetAncestor(handle_, GA_ROOT);
        if (auto tip = root ? static_cast<HWND>(GetPropA(root, "KtHints")) : nullptr) {
            TTTOOLINFOW ti{};
            ti.cbSize = TTTOOLINFOW_V1_SIZE;
            ti.hwnd = root;
            ti.uId = reinterpret_cast<UINT_PTR>(handle_);
            SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        }
    }
    Hint = hint;
    RegisterHint();
}

void TWinControl::HandleCreated() {
    RegisterHint();
    ApplyFont();
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->Handle();
}

void TWinControl::ApplyFont() {
    if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
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

void TWinControl::ChangeScale(int to, int from) {
    if (to == from || to <= 0 || from <= 0) return;
    TControl::ChangeScale(to, from);
    // A copy: a child may rearrange its own children (a radio group) while it scales.
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children) c->ChangeScale(to, from);
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
    if (parent && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD))
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
    return handle_ ? WindowText(handle_) : caption_;
}

void TWinControl::SetCaption(const std::string& text) {
    caption_ = text;
    if (handle_) SetWindowTextW(handle_, ToWide(text).c_str());
    Perform(CM_TEXTCHANGED);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    for (TControl* c : std::vector<TControl*>(controls_))
        if (c->parentColor_) c->TakeParentColor();
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

TWinControl* TWinControl::NotifyingChild(const TMessage& m) const {
    HWND child = nullptr;
    switch (m.Msg) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: child = reinterpret_cast<HWND>(m.LParam); break;
        case WM_NOTIFY: child = m.LParam ? reinterpret_cast<const NMHDR*>(m.LParam)->hwndFrom : nullptr; break;
        case WM_DRAWITEM: {
            auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
            if (d && d->CtlType != ODT_MENU) child = d->hwndItem;
            break;
        }
        case WM_MEASUREITEM: {
            auto* d = reinterpret_cast<const MEASUREITEMSTRUCT*>(m.LParam);
            if (d && d->CtlType != ODT_MENU && handle_) child = GetDlgItem(handle_, static_cast<int>(d->CtlID));
            break;
        }
        default: return nullptr;
    }
    TWinControl* c = FromHandle(child);
    return c != this ? c : nullptr;
}

void TWinControl::WndProc(TMessage& m) {
    // A notification about a child goes first to the child's WindowProc, as CN_BASE + msg.
    if (TWinControl* child = NotifyingChild(m)) {
        const LRESULT r = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        switch (m.Msg) {
            case WM_COMMAND:
            case WM_NOTIFY:
            case WM_HSCROLL:
            case WM_VSCROLL:
                // The child is the one that acts on these: its answer is the answer.
                m.Result = r;
                return;
            default:
                // Colours and owner drawing: an answer of 0 leaves them to the default.
                if (r) {
                    m.Result = r;
                    return;
                }
                break;
        }
    }
    switch (m.Msg) {
        case CN_COMMAND:
            CommandNotify(HIWORD(m.WParam));
            m.Result = 0;
            return;
        case CM_DIALOGCHAR:
            m.Result = DialogChar(static_cast<wchar_t>(m.WParam)) ? 1 : 0;
            return;
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
            // Owner-drawn menu items draw themselves, whichever window the menu reports to.
            if (TMenu::HandleOwnerDrawMessage(m.Msg, m.LParam)) {
                m.Result = TRUE;
                return;
            }
            break;
        case WM_MENUCHAR:
            if (const LRESULT r = TMenu::MenuCharAnswer(reinterpret_cast<HMENU>(m.LParam), m.WParam)) {
                m.Result = r;
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

bool TWinControl::DialogChar(wchar_t ch) {
    if (!handle_ || !IsWindowVisible(handle_) || !IsWindowEnabled(handle_)) return false;
    // A top-level window's caption is a title, not a label.
    if (parent_ && SameLetter(ch, AccelChar(Caption())) && AccelPressed()) return true;
    for (TControl* c : std::vector<TControl*>(controls_))
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Perform(CM_DIALOGCHAR, ch)) return true;
    return false;
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (handle_ && subclass_.Window() == handle_)
        m.Result = subclass_.CallOld(m.Msg, m.WParam, m.LParam);
    else
        m.Result = 0;
}

LRESULT CALLBACK TWinControl::MainWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    auto* self = TSubclass::Find<TWinControl>(hwnd, MainWndProc);
    if (!self && msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
        self = static_cast<TWinControl*>(cs->lpCreateParams);
        if (self) {
            self->handle_ = hwnd;
            self->subclass_.Adopt(hwnd, MainWndProc, self);
        }
    }
    if (!self) return DefWindowProcW(hwnd, msg, w, l);
    TMessage m{msg, w, l, 0};
    try {
        self->WindowProc(m);
    } catch (const std::exception& e) {
        TApplication::Instance().HandleException(e);
    }
    if (msg == WM_NCDESTROY) {
        // The handle is gone; the object may be made a new one later.
        self->subclass_.Restore();
        self->handle_ = nullptr;
    }
    return m.Result;
}

}  // namespace kt::ui
