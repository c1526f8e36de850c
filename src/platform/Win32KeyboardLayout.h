// The keyboard layout of a thread, as the typing plan asks for it.
#pragma once
#include <windows.h>

#include "app/core/TypingPlan.h"

namespace kt {

class Win32KeyboardLayout : public KeyboardLayout {
public:
    // layout 0: the calling thread's layout. To type into another program, pass the layout of
    // the target's thread (GetKeyboardLayout(GetWindowThreadProcessId(target, nullptr))).
    explicit Win32KeyboardLayout(HKL layout = nullptr)
        : layout_(layout ? layout : GetKeyboardLayout(0)) {}

    std::int16_t KeyScan(unsigned char c) const override;
    bool IsDeadKey(std::int16_t keyScan) const override;
    std::u16string ToUtf16(unsigned char c) const override;
    bool CapsLockShifts(std::int16_t keyScan) const override;
    std::uint16_t ScanCode(std::uint16_t vk) const override;
    std::u16string KeyText(std::int16_t keyScan) const override;

private:
    HKL layout_;
};

}  // namespace kt
