// The control painters' rules that need no window: which frame of a picture a control's
// state shows, and where a scroll bar's thumb goes. The painters (src/skin/ui) read the
// state from their window and draw what these say.
#pragma once
#include <vector>

#include "skin/data/Bitmap32.h"

namespace kt {

// The frame of the "Buttons" picture a push, bit or speed button shows: 1 normal, 2 pressed,
// 3 disabled, 4 highlighted (hot, or focused for a push button). Disabled wins over pressed,
// pressed over highlighted.
int FaceFrame(bool enabled, bool pressed, bool highlighted);

// The frame of the "CheckBox" or "Radio" picture: 1 unchecked, 2 checked, 3 and 4 the same
// disabled.
int BoxFrame(bool checked, bool disabled);

// The frame of the "Headerbar" picture that section shows: 1 normal, 2 pressed (only while the
// mouse stays on it), 3 disabled, 4 hot; 1 when the picture has fewer frames than that.
int SectionFrame(int section, int hotSection, int pressedSection, bool disabled, int frameCount);

// A scroll bar's numbers (as SCROLLINFO has them).
struct TScrollNumbers {
    int Min = 0, Max = 0;
    unsigned Page = 0;
    int Pos = 0;
};
// The thumb along a bar of `length` with arrows `arrow` long: offset from the bar's start and
// length; length 0 when the numbers allow no thumb.
struct TThumb {
    int Offset = 0, Length = 0;
};
TThumb ThumbGeometry(const TScrollNumbers& n, int length, int arrow, int minThumb);

// The side of the page a tab control's tabs hang on, from its style bits (TCS_BOTTOM, which is
// also TCS_RIGHT, and TCS_VERTICAL).
enum class TTabSide { Top, Bottom, Left, Right };
TTabSide TabSide(bool bottomOrRight, bool vertical);

// The selected tab stands out of its row: two pixels wider on each side along the row, two
// further out from the page and one further into it, so it covers the page's edge.
TRectI SelectedTabRect(const TRectI& tab, TTabSide side);

// The skin's tab pictures are drawn for tabs on top. On another side a tab is built at its
// size turned back to the top (width and height swapped for the sides), then flipped (bottom)
// or turned a quarter (left: against the clock, right: with it) so its open side meets the page.
TRectI UprightTabSize(const TRectI& tab, TTabSide side);

// An arrow drawn as lines on a button: a filled triangle centred in `button`, pointing `toward`,
// as one-pixel lines across the direction it points, from its point to its base.
enum class TArrow { Up, Down, Left, Right };
std::vector<TRectI> ArrowLines(const TRectI& button, TArrow toward);

}  // namespace kt
