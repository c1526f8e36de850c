#include "ui/Application.h"

#include <windows.h>

#include <algorithm>

#include "core/MessageService.h"
#include "ui/Forms.h"

namespace kt::ui {

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
        BOOL r = GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
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
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
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
