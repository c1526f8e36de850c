// Where a window opens: never larger than the work area (the screen less the task bar) nor
// outside it, since a user cannot reach a frame edge or button beyond it.
#pragma once

namespace kt {

struct TBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TBounds&) const = default;
};

// The window's bounds made to fit `work`: its size cut to the work area's, then moved (as
// little as it takes) inside it.
TBounds FitInWorkArea(const TBounds& window, const TBounds& work);

// The window's size made to fit `work`, centred in it.
TBounds CentreInWorkArea(int width, int height, const TBounds& work);

}  // namespace kt
