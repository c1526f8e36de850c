// Where the bar puts its controls and scheme buttons, and how big it grows with them.
//
// Everything here is arithmetic on sizes in the bar's design pixels: the caller measures the
// texts (the instruction at the label's width, the captions) with the controls' own fonts and
// passes the results in, so a caller that scales the bar (another DPI) scales what it measures
// and what comes out, and the rule stays one.
#pragma once
#include <functional>
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
// The bar as designed: its width, the group box, the instruction label, the scheme chooser
// and the message label inside it.
constexpr int kBarDesignWidth = 204;
constexpr int kGroupDesignWidth = 193, kGroupDesignHeight = 81;
constexpr int kLabelDesignWidth = 167, kLabelDesignHeight = 26;
constexpr int kChooserDesignTop = 44, kChooserDesignWidth = 169;
constexpr int kMessageDesignTop = 50;
// What a push button keeps free around its caption (edges and focus frame, both sides).
constexpr int kButtonCaptionPadding = 12;

struct ButtonRect {
    int left, top, width, height;
};

// True for a slot number the bar has (1 ... 10).
bool IsButtonSlot(int k);

// Button k (1 ... 10): Left = anchor Left, Top = anchor Top + 32 k, standard height.
// Throws EListError "List index out of bounds (%d)" for a k outside the slots.
ButtonRect SchemeButtonRect(int k, int anchorLeft = kAnchorLeft, int anchorTop = kAnchorTop,
                            int width = kButtonWidth);

// The bar's height with n buttons and a label grown by `labelGrowth`: 140 with none; the
// first button adds twice the button height (50), each further one the spacing of the
// buttons (32), so the last button keeps the bottom margin the first one has: 190 for one,
// 478 for ten. Counts above ten give the height of ten.
int BarHeightFor(int buttons, int labelGrowth = 0);

// The width of every scheme button (all one width): the standard width, or wide enough for
// the widest caption text (plus the padding), but at most a third of the work area's width
// (no limit when that width is not known, 0).
int BarButtonWidth(int widestCaptionText, int workAreaWidth);
// The widest caption text a button of this width shows whole.
int CaptionRoom(int buttonWidth);
// The instruction label's width on a bar whose buttons are this wide: the bar, its group box,
// the label and the chooser widen with the buttons.
int BarLabelWidth(int buttonWidth);

struct BarMeasures {
    int labelTextHeight = kLabelDesignHeight;  // the instruction's height at BarLabelWidth
    int buttonWidth = kButtonWidth;            // from BarButtonWidth
    int buttons = 0;                           // scheme buttons shown
    int baseWidth = kBarDesignWidth;           // the bar's width as placed (the user's)
};

struct BarGeometry {
    int width, height;             // the bar
    int groupWidth, groupHeight;   // GroupBox1
    int labelWidth, labelHeight;   // Label1
    int chooserTop, chooserWidth;  // ComboBoxFilename
    int messageTop;                // LabelMessage
    int anchorTop;                 // CreateButton: the origin of the scheme buttons
    int buttonWidth;
};

// The bar laid out: a label that needs more than its 26 pixels grows, and what stands below
// it moves down by as much (the bar grows with it); wider buttons widen the bar (never
// below its base width), its group box, label and chooser.
BarGeometry BarLayoutFor(const BarMeasures& m);

// The caption as a button of `room` pixels for text shows it: whole when it fits, otherwise
// its longest beginning that fits with "..." after it. `width` measures a text.
std::wstring EllipsizedCaption(const std::wstring& caption, int room,
                               const std::function<int(const std::wstring&)>& width);

// Number of buttons the bar shows for a scheme with this many captions.
int ButtonCountFor(std::size_t captions);

// Text k (1-based) of a scheme's text list; a list shorter than k throws EListError
// "List index out of bounds (k - 1)".
const std::string& ButtonText(const std::vector<std::string>& texts, int k);

}  // namespace kt
