#include "ui/Application.h"

#include <windows.h>

#include <algorithm>

#include "core/MessageService.h"
#include "ui/Forms.h"

namespace kt::ui {

namespace {
// A key press that is the shortcut of a menu item of the window's form clicks that item
// instead of reaching the control.
bool IsShortCutMessage(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(GetAncestor(msg.hwnd, GA_ROOT)));
    if (!form) return false;
    unsigned short shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= scShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= scCtrl;
    if (GetKeyState(VK_MENU) < 0) shift |= scAlt;
    const WORD key = static_cast<WORD>(msg.wParam);
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
    return form->IsShortCut(ShortCut(key, shift));
}
}  // namespace

TApplication& TApplication::Instance() {
    static TApplication* app = new TApplication();  // lives until the process ends
    return *app;
}

void TApplication::RegisterForm(TForm* form) { forms_.push_back(form); }

void TApplication::UnregisterForm(TForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (mainForm_ == form) mainForm_ = nullptr;
}

int TApplication::Run() {
    if (mainForm_) mainForm_->Show();
    MSG msg;
    while (!terminated_) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1) break;
        if (IsShortCutMessage(msg) || IsDialogKeyMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    terminated_ = true;
    DestroyForms();
    return 0;
}

void TApplication::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        if (IsShortCutMessage(msg) || IsDialogKeyMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TApplication::DestroyForms() {
    while (!Components().empty()) {
        TComponent* c = Components().back();
        if (auto* f = dynamic_cast<TForm*>(c)) f->DoDestroy();
        delete c;
    }
}

void TApplication::HandleException(const std::exception& e) {
    std::string text = e.what();
    // The standard box ends a sentence with a full stop.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    Messages().Show(text, Title, MsgKind::Error, MsgButtons::OK);
}

}  // namespace kt::ui
