#include "app/core/BarLayout.h"

#include <algorithm>

#include "core/Errors.h"

namespace kt {

namespace {
[[noreturn]] void OutOfBounds(int index) {
    throw EListError::IndexOutOfBounds(index);
}
}  // namespace

bool IsButtonSlot(int k) { return k >= 1 && k <= kButtonSlots; }

ButtonRect SchemeButtonRect(int k, int anchorLeft, int anchorTop, int width) {
    if (!IsButtonSlot(k)) OutOfBounds(k);
    return {anchorLeft, anchorTop + kButtonSpacing * k, width, kButtonHeight};
}

int BarHeightFor(int buttons, int labelGrowth) {
    const int base = kBarBaseHeight + std::max(0, labelGrowth);
    if (buttons <= 0) return base;
    buttons = std::min(buttons, kButtonSlots);
    return base + 2 * kButtonHeight + kButtonSpacing * (buttons - 1);
}

int BarButtonWidth(int widestCaptionText, int workAreaWidth) {
    int width = std::max(kButtonWidth, widestCaptionText + kButtonCaptionPadding);
    if (workAreaWidth > 0) width = std::min(width, std::max(kButtonWidth, workAreaWidth / 3));
    return width;
}

int CaptionRoom(int buttonWidth) { return std::max(0, buttonWidth - kButtonCaptionPadding); }

int BarLabelWidth(int buttonWidth) { return kLabelDesignWidth + std::max(0, buttonWidth - kButtonWidth); }

BarGeometry BarLayoutFor(const BarMeasures& m) {
    const int grow = std::max(0, m.labelTextHeight - kLabelDesignHeight);
    const int widen = std::max(0, m.buttonWidth - kButtonWidth);
    BarGeometry g{};
    g.width = std::max(m.baseWidth, kBarDesignWidth + widen);
    g.height = BarHeightFor(m.buttons, grow);
    g.groupWidth = kGroupDesignWidth + widen;
    g.groupHeight = kGroupDesignHeight + grow;
    g.labelWidth = kLabelDesignWidth + widen;
    g.labelHeight = kLabelDesignHeight + grow;
    g.chooserTop = kChooserDesignTop + grow;
    g.chooserWidth = kChooserDesignWidth + widen;
    g.messageTop = kMessageDesignTop + grow;
    g.anchorTop = kAnchorTop + grow;
    g.buttonWidth = std::max(kButtonWidth, m.buttonWidth);
    return g;
}

std::wstring EllipsizedCaption(const std::wstring& caption, int room,
                               const std::function<int(const std::wstring&)>& width) {
    if (width(caption) <= room) return caption;
    static const std::wstring kDots = L"...";
    // The longest beginning that fits with the dots: widths grow with the length.
    std::size_t fits = 0, tooLong = caption.size();
    while (tooLong - fits > 1) {
        const std::size_t mid = (fits + tooLong) / 2;
        if (width(caption.substr(0, mid) + kDots) <= room) fits = mid;
        else tooLong = mid;
    }
    std::wstring shown = caption.substr(0, fits);
    // A surrogate pair is never cut in two, and blanks before the dots are dropped.
    if (!shown.empty() && shown.back() >= 0xD800 && shown.back() <= 0xDBFF) shown.pop_back();
    while (!shown.empty() && shown.back() == L' ') shown.pop_back();
    return shown + kDots;
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
