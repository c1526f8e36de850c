#include "app/core/BarLayout.h"

#include "core/Errors.h"

namespace kt {

namespace {
[[noreturn]] void OutOfBounds(int index) {
    throw EListError::IndexOutOfBounds(index);
}
}  // namespace

bool IsButtonSlot(int k) { return k >= 1 && k <= kButtonSlots; }

ButtonRect SchemeButtonRect(int k, int anchorLeft, int anchorTop) {
    if (!IsButtonSlot(k)) OutOfBounds(k);
    return {anchorLeft, anchorTop + kButtonSpacing * k, kButtonWidth, kButtonHeight};
}

int BarGrowthFor(int k, int buttonHeight) {
    if (!IsButtonSlot(k)) return 0;
    return k == 1 ? 2 * buttonHeight : buttonHeight;
}

int BarHeightFor(int buttons, int buttonHeight) {
    if (buttons <= 0) return kBarBaseHeight;
    if (buttons > kButtonSlots) buttons = kButtonSlots;
    return kBarBaseHeight + buttonHeight * (buttons + 1);
}

int ButtonCountFor(std::size_t captions) {
    return captions > static_cast<std::size_t>(kButtonSlots) ? kButtonSlots
                                                              : static_cast<int>(captions);
}

const std::string& ButtonText(const std::vector<std::string>& texts, int k) {
    if (k < 1 || static_cast<std::size_t>(k) > texts.size()) OutOfBounds(k - 1);
    return texts[static_cast<std::size_t>(k) - 1];
}

}  // namespace kt
