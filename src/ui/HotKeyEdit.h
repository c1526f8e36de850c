// The system's hot-key box (msctls_hotkey32): the user presses a key combination and the box
// shows it, as "Ctrl + Shift + Y".
#pragma once
#include <cstdint>

#include "ui/ComCtrls.h"

namespace kt::ui {

class THotKey : public TCommonControl {
    KT_CLASS(THotKey, TCommonControl)
public:
    explicit THotKey(TComponent* owner);
    // The virtual key and its HOTKEYF_* modifiers (Shift 1, Ctrl 2, Alt 4); 0 when empty.
    std::uint8_t Key() const;
    unsigned Modifiers() const;
    void SetHotKey(std::uint8_t vk, unsigned modifiers);

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;

private:
    std::uint16_t value_ = 0;  // kept until the window exists
};

}  // namespace kt::ui
