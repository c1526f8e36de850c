// Where the bar puts its scheme buttons and how tall it grows with them.
#pragma once
#include <string>
#include <vector>

namespace kt {

// The bar has exactly ten button slots, RuntimeButton1 ... RuntimeButton10.
constexpr int kButtonSlots = 10;
// The hidden anchor button's position; scheme buttons are laid out from it.
constexpr int kAnchorLeft = 56;
constexpr int kAnchorTop = 56;
constexpr int kButtonSpacing = 32;
// The standard push button size.
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
// The bar's height with no scheme button.
constexpr int kBarBaseHeight = 140;

struct ButtonRect {
    int left, top, width, height;
};

// True for a slot number the bar has (1 ... 10).
bool IsButtonSlot(int k);

// Button k (1 ... 10): Left = anchor Left, Top = anchor Top + 32 k, standard size.
// Throws EListError "List index out of bounds (%d)" for a k outside the slots.
ButtonRect SchemeButtonRect(int k, int anchorLeft = kAnchorLeft, int anchorTop = kAnchorTop);

// How much creating button k grows the bar: twice the button height for the first button,
// once for each further one.
int BarGrowthFor(int k, int buttonHeight = kButtonHeight);

// The bar's height with n buttons: 140 with none, 140 + 25 (n + 1) for 1 <= n <= 10.
// Counts above ten give the height of ten.
int BarHeightFor(int buttons, int buttonHeight = kButtonHeight);

// Number of buttons the bar shows for a scheme with this many captions.
int ButtonCountFor(std::size_t captions);

// Text k (1-based) of a scheme's text list; a list shorter than k throws EListError
// "List index out of bounds (k - 1)".
const std::string& ButtonText(const std::vector<std::string>& texts, int k);

}  // namespace kt
