#include "ui/Forms.h"

#include "ui/Application.h"

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
    if (menu_ && menu_->IsShortCut(shortCut)) return true;
    return PopupMenu && PopupMenu->IsShortCut(shortCut);
}

void TForm::DoCreate() {
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
        if (Position != TPosition::poDesigned) {
            RECT area{};
            if (Position == TPosition::poDesktopCenter) {
                SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
            } else {
                area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            }
            int x = area.left + (area.right - area.left - width_) / 2;
            int y = area.top + (area.bottom - area.top - height_) / 2;
            SetBounds(x < area.left ? area.left : x, y < area.top ? area.top : y, width_, height_);
        }
        int cmd = pendingState_ == TWindowState::wsMinimized   ? SW_SHOWMINNOACTIVE
                  : pendingState_ == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED
                                                               : SW_SHOWNORMAL;
        ShowWindow(h, cmd);
    } else {
        ShowWindow(h, IsIconic(h) ? SW_RESTORE : SW_SHOW);
    }
    if (formStyle_ == TFormStyle::fsStayOnTop)
        SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (OnShow) OnShow();
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
                if (m.LParam == -1) GetCursorPos(&p);  // from the keyboard
                PopupMenu->Popup(p.x, p.y, handle_);
                m.Result = 0;
                return;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(m.WParam) == WA_INACTIVE) {
                if (OnDeactivate) OnDeactivate();
            } else if (OnActivate) {
                OnActivate();
            }
            break;
        case WM_WINDOWPOSCHANGED:
            DefaultHandler(m);
            UpdateFormBounds();
            return;
        default:
            break;
    }
    TWinControl::WndProc(m);
}

}  // namespace kt::ui
