#include "ui/Forms.h"

#include "core/WindowFit.h"

#include <algorithm>
#include <vector>

#include "core/DpiScale.h"
#include "ui/Application.h"
#include "ui/StdCtrls.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0  // Windows 8.1; the headers offer it only for newer targets
#endif

namespace kt::ui {

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    visible_ = false;
    width_ = 320;
    height_ = 240;
    TApplication::Instance().RegisterForm(this);
}

TForm::~TForm() {
    TApplication::Instance().UnregisterForm(this);
    if (menu_) {
        menu_->OnChange = nullptr;
        // The system frees a window's menu with the window; the menu object frees its own.
        if (handle_) ::SetMenu(handle_, nullptr);
    }
}

void TForm::SetMenu(TMainMenu* menu) {
    if (menu_ == menu) return;
    if (menu_) menu_->OnChange = nullptr;
    menu_ = menu;
    if (menu_) {
        menu_->OnChange = [this] {
            if (handle_) DrawMenuBar(handle_);
            Perform(CM_MENUCHANGED);
        };
    }
    if (handle_) {
        ::SetMenu(handle_, menu_ ? menu_->Handle() : nullptr);
        Perform(CM_MENUCHANGED);
    }
}

void TForm::HandleCreated() {
    TWinControl::HandleCreated();
    if (menu_) ::SetMenu(handle_, menu_->Handle());
}

bool TForm::IsShortCut(TShortCut shortCut) {
    if (PopupMenu && KeyboardPopupEverywhere &&
        (shortCut == ShortCut(VK_F10, scShift) || shortCut == ShortCut(VK_APPS, 0))) {
        Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(handle_), -1);
        return true;
    }
    if (menu_ && menu_->IsShortCut(shortCut)) return true;
    return PopupMenu && PopupMenu->IsShortCut(shortCut);
}

int TForm::ScreenPixelsPerInch() { return TFont::PixelsPerInch(); }

void TForm::ChangeScale(int to, int from) {
    if (to == from || to <= 0 || from <= 0) return;
    const int clientWidth = clientWidth_, clientHeight = clientHeight_;
    // The children and the fonts; the form's own bounds come next, from its client.
    const int left = left_, top = top_, width = width_, height = height_;
    TWinControl::ChangeScale(to, from);
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (clientWidth > 0 && clientHeight > 0) {
        SetClientSize(Rescale(clientWidth, to, from), Rescale(clientHeight, to, from));
        return;
    }
    // Sized by its outer bounds: the system's frame as it was at `from` (the frame's metrics
    // follow the resolution), the client scaled.
    TCreateParams p;
    CreateParams(p);
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, p.style, menu_ ? TRUE : FALSE, p.exStyle);
    const int frameW = r.right - r.left, frameH = r.bottom - r.top;
    const int wasFrameW = Rescale(frameW, from, to), wasFrameH = Rescale(frameH, from, to);
    SetBounds(left_, top_, Rescale(width - wasFrameW, to, from) + frameW, Rescale(height - wasFrameH, to, from) + frameH);
}

void TForm::DpiChanged(int dpi, const RECT* suggested) {
    if (!Scaled || dpi == pixelsPerInch_) return;
    ChangeScale(dpi, pixelsPerInch_);
    // The system's place for the window on its new monitor, with the size the layout needs.
    if (suggested) SetBounds(suggested->left, suggested->top, width_, height_);
}

void TForm::DoCreate() {
    if (Scaled && !scaledAtCreate_) {
        scaledAtCreate_ = true;
        ChangeScale(ScreenPixelsPerInch(), pixelsPerInch_);
    }
    // From here on the bounds may change any way: a later scaling starts from them.
    clientWidth_ = clientHeight_ = 0;
    // A failing start-up step is reported; the window still comes up.
    try {
        if (OnCreate) OnCreate();
    } catch (const std::exception& e) {
        TApplication::Instance().HandleException(e);
    }
}

void TForm::DoDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    try {
        if (OnDestroy) OnDestroy();
    } catch (const std::exception& e) {
        TApplication::Instance().HandleException(e);
    }
}

void TForm::CreateParams(TCreateParams& p) {
    p.winClass.clear();
    switch (BorderStyle) {
        case TBorderStyle::bsSizeable: p.style = WS_OVERLAPPEDWINDOW; break;
        case TBorderStyle::bsSingle: p.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; break;
        case TBorderStyle::bsDialog: p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU; p.exStyle = WS_EX_DLGMODALFRAME; break;
        case TBorderStyle::bsToolWindow: p.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU; p.exStyle = WS_EX_TOOLWINDOW; break;
    }
    p.style |= WS_CLIPCHILDREN;
    if (formStyle_ == TFormStyle::fsStayOnTop) p.exStyle |= WS_EX_TOPMOST;
    p.x = left_;
    p.y = top_;
    p.width = width_;
    p.height = height_;
    p.parent = nullptr;
    // A dialog belongs to the window that opened it: it stays above it, and when it goes the
    // activation (and with it the focus) returns there, not to whichever window is next.
    if (BorderStyle == TBorderStyle::bsDialog)
        if (auto* owner = dynamic_cast<TForm*>(Owner()); owner && owner->HandleAllocated()) p.parent = owner->Handle();
}

void TForm::SetFormStyle(TFormStyle s) {
    formStyle_ = s;
    if (handle_)
        SetWindowPos(handle_, s == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TForm::WindowState() {
    if (!handle_ || !IsWindowVisible(handle_)) return pendingState_;
    if (IsIconic(handle_)) return TWindowState::wsMinimized;
    if (IsZoomed(handle_)) return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::SetWindowState(TWindowState s) {
    pendingState_ = s;
    if (handle_ && IsWindowVisible(handle_)) {
        ShowWindow(handle_, s == TWindowState::wsMinimized   ? SW_MINIMIZE
                            : s == TWindowState::wsMaximized ? SW_MAXIMIZE
                                                             : SW_RESTORE);
    }
}

void TForm::SetClientSize(int width, int height) {
    TCreateParams p;
    CreateParams(p);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, p.style, menu_ ? TRUE : FALSE, p.exStyle);
    SetBounds(left_, top_, r.right - r.left, r.bottom - r.top);
    clientWidth_ = width;
    clientHeight_ = height;
}

RECT TForm::NormalBounds() {
    RECT r{left_, top_, left_ + width_, top_ + height_};
    if (handle_) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        if (GetWindowPlacement(handle_, &wp) && (IsIconic(handle_) || IsZoomed(handle_))) {
            r = wp.rcNormalPosition;
            // The normal position is in work-area coordinates; screen coordinates are wanted.
            MONITORINFO mi{sizeof mi};
            if (GetMonitorInfoA(MonitorFromWindow(handle_, MONITOR_DEFAULTTONEAREST), &mi))
                OffsetRect(&r, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
        }
    }
    return r;
}

void TForm::SetVisible(bool v) {
    visible_ = v;
    HWND h = Handle();
    if (!v) {
        ShowWindow(h, SW_HIDE);
        if (OnHide) OnHide();
        return;
    }
    if (!shownOnce_) {
        shownOnce_ = true;
        // Whatever the form asks, it opens inside the work area of the monitor nearest to it.
        const RECT wanted{left_, top_, left_ + width_, top_ + height_};
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        RECT area{};
        if (GetMonitorInfoA(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &mi)) area = mi.rcWork;
        else SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        const TBounds work{area.left, area.top, area.right - area.left, area.bottom - area.top};
        const TBounds fit = Position == TPosition::poDesigned
                                ? FitInWorkArea({left_, top_, width_, height_}, work)
                                : CentreInWorkArea(width_, height_, work);
        if (fit != TBounds{left_, top_, width_, height_}) SetBounds(fit.Left, fit.Top, fit.Width, fit.Height);
        int cmd = pendingState_ == TWindowState::wsMinimized   ? SW_SHOWMINNOACTIVE
                  : pendingState_ == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED
                  : noActivate_                                ? SW_SHOWNOACTIVATE
                                                               : SW_SHOWNORMAL;
        ShowWindow(h, cmd);
    } else {
        ShowWindow(h, IsIconic(h) ? SW_RESTORE : noActivate_ ? SW_SHOWNA : SW_SHOW);
    }
    if (formStyle_ == TFormStyle::fsStayOnTop)
        SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (OnShow) OnShow();
}

void TForm::ShowBehind() {
    // While it is mapped the window declines the focus, or a window manager that focuses new
    // windows would take it from the active one.
    HWND h = Handle();
    const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
    SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_NOACTIVATE);
    noActivate_ = true;
    SetVisible(true);
    noActivate_ = false;
    SetWindowLongW(h, GWL_EXSTYLE, ex);
}

void TForm::BringToFront() {
    if (handle_) SetForegroundWindow(handle_);
}

void TForm::Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    if (!canClose) return;
    TApplication& app = TApplication::Instance();
    TCloseAction action = app.MainForm() == this ? TCloseAction::caFree : TCloseAction::caHide;
    if (OnClose) OnClose(action);
    switch (action) {
        case TCloseAction::caNone: break;
        case TCloseAction::caHide: Hide(); break;
        case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); break;
        case TCloseAction::caFree:
            if (app.MainForm() == this) app.Terminate();
            else Hide();
            break;
    }
}

void TForm::UpdateFormBounds() {
    // A minimised window sits far off screen; keep the bounds it will come back to.
    if (handle_ && !IsIconic(handle_)) UpdateBoundsFromWindow();
}

void TForm::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_CLOSE:
            Close();
            m.Result = 0;
            return;
        case WM_COMMAND:
            // A menu or accelerator command: the form's own menus first.
            if (m.LParam == 0) {
                const UINT id = LOWORD(m.WParam);
                if ((menu_ && menu_->DispatchCommand(id)) || (PopupMenu && PopupMenu->DispatchCommand(id)) ||
                    (OnMenuCommand && OnMenuCommand(static_cast<int>(id)))) {
                    m.Result = 0;
                    return;
                }
            }
            break;
        case WM_CONTEXTMENU:
            if (PopupMenu) {
                POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
                // From the keyboard (Shift+F10, the menu key): at the focused control, else at
                // the window, wherever the pointer is.
                if (m.LParam == -1) {
                    HWND focus = GetFocus();
                    RECT r{};
                    GetWindowRect(focus && IsChild(handle_, focus) ? focus : handle_, &r);
                    p = POINT{r.left, r.bottom};
                }
                PopupMenu->Popup(p.x, p.y, handle_);
                m.Result = 0;
                return;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(m.WParam) == WA_INACTIVE) {
                // Sent before the focus leaves: the control that has it is the one to come back to.
                HWND focus = GetFocus();
                if (focus && IsChild(handle_, focus)) lastFocus_ = focus;
                if (OnDeactivate) OnDeactivate();
            } else {
                if (OnActivate) OnActivate();
                // The focus goes back to the control that had it (after a message box, a
                // dialog, a switch to another program), or at first to the first control;
                // the system's default would leave it on the window itself.
                // A click decides the focus itself.
                if (LOWORD(m.WParam) == WA_ACTIVE && !HIWORD(m.WParam) && RestoreFocus()) {
                    m.Result = 0;
                    return;
                }
            }
            break;
        case WM_DPICHANGED:
            DpiChanged(LOWORD(m.WParam), reinterpret_cast<const RECT*>(m.LParam));
            m.Result = 0;
            return;
        case WM_WINDOWPOSCHANGED:
            DefaultHandler(m);
            UpdateFormBounds();
            return;
        case WM_ERASEBKGND: {
            // The form's Color, not the class brush: a skin recolours the face.
            RECT r{};
            GetClientRect(handle_, &r);
            FillRect(reinterpret_cast<HDC>(m.WParam), &r, ColorBrush());
            m.Result = 1;
            return;
        }
        case CM_DIALOGKEY:
            m.Result = DialogKey(static_cast<WORD>(m.WParam)) ? 1 : 0;
            return;
        default:
            break;
    }
    TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- keyboard

namespace {

bool Usable(TWinControl* w) {
    if (!w->HandleAllocated()) return false;
    HWND h = w->Handle();
    return IsWindowVisible(h) && IsWindowEnabled(h);
}

std::vector<TWinControl*> WinChildren(const TWinControl* parent) {
    std::vector<TWinControl*> out;
    for (TControl* c : parent->Controls())
        if (auto* w = dynamic_cast<TWinControl*>(c)) out.push_back(w);
    std::stable_sort(out.begin(), out.end(), [](TWinControl* a, TWinControl* b) { return a->TabOrder < b->TabOrder; });
    return out;
}

// Radio buttons next to each other under one parent form a group: Tab stops at the focused
// one, else the checked one, else the first.
void CollectTabStops(const TWinControl* parent, TWinControl* current, std::vector<TWinControl*>& out) {
    const std::vector<TWinControl*> kids = WinChildren(parent);
    for (size_t i = 0; i < kids.size(); ++i) {
        TWinControl* w = kids[i];
        if (!Usable(w)) continue;
        if (dynamic_cast<TRadioButton*>(w)) {
            size_t end = i;
            while (end < kids.size() && dynamic_cast<TRadioButton*>(kids[end])) ++end;
            TWinControl* stop = nullptr;
            for (size_t k = i; k < end; ++k) {
                auto* r = static_cast<TRadioButton*>(kids[k]);
                if (!r->TabStop || !Usable(r)) continue;
                if (r == current) { stop = r; break; }
                if (!stop || (r->Checked() && !static_cast<TRadioButton*>(stop)->Checked())) stop = r;
            }
            if (stop) out.push_back(stop);
            i = end - 1;
            continue;
        }
        if (w->TabStop) out.push_back(w);
        CollectTabStops(w, current, out);
    }
}

TButton* FindButton(const TWinControl* parent, bool wantDefault) {
    for (TWinControl* w : WinChildren(parent)) {
        if (!Usable(w)) continue;
        if (auto* b = dynamic_cast<TButton*>(w); b && (wantDefault ? b->Default : b->Cancel)) return b;
        if (TButton* inner = FindButton(w, wantDefault)) return inner;
    }
    return nullptr;
}

// Moves within the run of radio buttons `current` belongs to, and checks the one reached.
bool MoveInRadioGroup(TRadioButton* current, bool forward) {
    TWinControl* parent = current->Parent();
    if (!parent) return false;
    const std::vector<TWinControl*> kids = WinChildren(parent);
    auto at = std::find(kids.begin(), kids.end(), current);
    if (at == kids.end()) return false;
    auto first = at, last = at + 1;
    while (first != kids.begin() && dynamic_cast<TRadioButton*>(*(first - 1))) --first;
    while (last != kids.end() && dynamic_cast<TRadioButton*>(*last)) ++last;
    const auto n = last - first;
    for (auto step = 1; step < n; ++step) {
        const auto offset = ((at - first) + (forward ? step : n - step)) % n;
        auto* next = static_cast<TRadioButton*>(*(first + offset));
        if (!Usable(next)) continue;
        next->SetFocus();
        next->SetChecked(true);
        return true;
    }
    return false;
}

TForm* FormOfWindow(HWND hwnd) {
    return hwnd ? dynamic_cast<TForm*>(TWinControl::FromHandle(GetAncestor(hwnd, GA_ROOT))) : nullptr;
}

}  // namespace

TWinControl* TForm::ActiveControl() const {
    HWND focus = GetFocus();
    if (!handle_ || !focus || !IsChild(handle_, focus)) return nullptr;
    // The focus may sit in a system control's own child (a combo box's edit).
    for (HWND h = focus; h && h != handle_; h = GetParent(h))
        if (TWinControl* w = FromHandle(h)) return w;
    return nullptr;
}

bool TForm::RestoreFocus() {
    if (BorderStyle != TBorderStyle::bsDialog && !KeepFocus) return false;
    HWND focus = GetFocus();
    if (focus && IsChild(handle_, focus)) return true;  // a click already put it somewhere
    HWND last = lastFocus_;
    if (last && IsWindow(last) && IsChild(handle_, last) && IsWindowVisible(last) && IsWindowEnabled(last)) {
        ::SetFocus(last);
        return GetFocus() == last;
    }
    std::vector<TWinControl*> stops;
    CollectTabStops(this, nullptr, stops);
    if (stops.empty()) return false;
    SelectNext(nullptr, true);
    return true;
}

void TForm::SelectNext(TWinControl* current, bool forward) {
    std::vector<TWinControl*> stops;
    CollectTabStops(this, current, stops);
    if (stops.empty()) return;
    auto at = std::find(stops.begin(), stops.end(), current);
    TWinControl* next;
    if (at == stops.end()) next = forward ? stops.front() : stops.back();
    else if (forward) next = (at + 1 == stops.end()) ? stops.front() : *(at + 1);
    else next = (at == stops.begin()) ? stops.back() : *(at - 1);
    next->SetFocus();
    // An edit reached by Tab has its text selected, as in any dialog.
    if (SendMessageW(next->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(next->Handle(), EM_SETSEL, 0, -1);
}

bool TForm::DialogKey(WORD key) {
    TWinControl* current = ActiveControl();
    switch (key) {
        case VK_TAB:
            SelectNext(current, GetKeyState(VK_SHIFT) >= 0);
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (auto* radio = dynamic_cast<TRadioButton*>(current))
                return MoveInRadioGroup(radio, key == VK_RIGHT || key == VK_DOWN);
            return false;
        case VK_RETURN: {
            // Enter presses the focused button, else the default button.
            auto* button = dynamic_cast<TButton*>(current);
            if (!button) button = FindButton(this, true);
            if (!button) return false;
            button->Click();
            return true;
        }
        case VK_ESCAPE:
            if (TButton* button = FindButton(this, false)) {
                button->Click();
                return true;
            }
            return false;
        default: return false;
    }
}

bool IsDialogKeyMessage(const MSG& msg) {
    if (msg.message == WM_SYSCHAR) {
        TForm* form = FormOfWindow(msg.hwnd);
        return form && form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
    }
    if (msg.message != WM_KEYDOWN) return false;
    const WORD key = static_cast<WORD>(msg.wParam);
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && key != VK_LEFT && key != VK_RIGHT && key != VK_UP &&
        key != VK_DOWN)
        return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    TForm* form = FormOfWindow(msg.hwnd);
    if (!form) return false;
    // Keys the focused window asks for stay its own (a multi-line edit's Enter and Tab, a
    // list's arrows, an open drop-down's Escape).
    const LRESULT code =
        SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(const_cast<MSG*>(&msg)));
    if (code & (DLGC_WANTMESSAGE | DLGC_WANTALLKEYS)) return false;
    if (key == VK_TAB && (code & DLGC_WANTTAB)) return false;
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && (code & DLGC_WANTARROWS)) return false;
    return form->Perform(CM_DIALOGKEY, key, 0) != 0;
}

}  // namespace kt::ui
