#include "ui/HotKeyEdit.h"

#include <commctrl.h>

namespace kt::ui {

THotKey::THotKey(TComponent* owner) : TCommonControl(owner) {
    width_ = 121;
    height_ = 21;
    TabStop = true;
}

void THotKey::CreateParams(TCreateParams& p) {
    TCommonControl::CreateParams(p);
    p.winClass = HOTKEY_CLASSA;
    p.exStyle |= WS_EX_CLIENTEDGE;
}

void THotKey::HandleCreated() {
    TCommonControl::HandleCreated();
    SendMessageW(handle_, HKM_SETHOTKEY, value_, 0);
}

std::uint8_t THotKey::Key() const {
    const auto v = handle_ ? static_cast<std::uint16_t>(SendMessageW(handle_, HKM_GETHOTKEY, 0, 0)) : value_;
    return static_cast<std::uint8_t>(v & 0xFF);
}

unsigned THotKey::Modifiers() const {
    const auto v = handle_ ? static_cast<std::uint16_t>(SendMessageW(handle_, HKM_GETHOTKEY, 0, 0)) : value_;
    return (v >> 8) & 0xFF;
}

void THotKey::SetHotKey(std::uint8_t vk, unsigned modifiers) {
    value_ = static_cast<std::uint16_t>(vk | (modifiers & 0xFF) << 8);
    if (handle_) SendMessageW(handle_, HKM_SETHOTKEY, value_, 0);
}

}  // namespace kt::ui
