// The arithmetic of laying out at the display's resolution: windows are designed at 96 pixels
// per inch and scaled to the display's when they are made, as the form designer's "scaled"
// forms are. Rounding is the system's MulDiv rounding (half away from zero), so a scaled
// layout is the same number for number on every machine of one resolution.
#pragma once

namespace kt {

// The resolution every layout of the program is designed at.
constexpr int kDesignPixelsPerInch = 96;

// value * numerator / denominator, rounded half away from zero; 0 for a zero denominator
// (MulDiv answers -1 there, which as a size would be worse than nothing).
int MulDivRound(int value, int numerator, int denominator);

// A designed pixel measure at `pixelsPerInch` (96 leaves it as it is).
inline int ScaleToDpi(int designed, int pixelsPerInch) {
    return MulDivRound(designed, pixelsPerInch, kDesignPixelsPerInch);
}

// A measure made for one resolution, at another.
inline int Rescale(int value, int toPixelsPerInch, int fromPixelsPerInch) {
    return MulDivRound(value, toPixelsPerInch, fromPixelsPerInch);
}

// The (negative, character) height of a font of `points` points at `pixelsPerInch`, and back.
int FontHeightForPoints(int points, int pixelsPerInch);
int FontPointsForHeight(int height, int pixelsPerInch);

// One side of a picture frame cut into three pieces (two margins and the middle), at another
// resolution.
struct TScaledSpan {
    int Size, Lead, Tail;
};

// A frame side of `size` pixels with margins `lead` and `tail`, at `pixelsPerInch`: the side as
// ScaleToDpi gives it (at least 1), the margins in the proportion of that side to the old one,
// cut to fit it. The one rule for where a scaled picture is cut and which margins it is drawn
// with, so the two never part by a pixel; a middle that was there stays.
TScaledSpan ScaleSpan(int size, int lead, int tail, int pixelsPerInch);

// A resolution a display can report; anything else (0, negative, absurd) is taken as 96.
int SanePixelsPerInch(int pixelsPerInch);

// True when the resolution is a whole multiple of the designed one (96, 192, 288...), where
// pictures can be scaled pixel for pixel.
bool IsWholeScale(int pixelsPerInch);

}  // namespace kt
