// A skin at the display's resolution. Skins are drawn for 96 pixels per inch; at another
// resolution every picture and every pixel measure of the description is scaled once, when
// the skin is read, so the frames, title buttons, controls and menus keep their proportions
// to the (larger) text. At a whole factor (192, 288...) each pixel becomes a square of pixels,
// exact; at any other a picture is cut into its frames and each frame into the nine pieces its
// margins give, and each piece is stretched on its own with an area average, so no frame bleeds
// into the next and no edge into the middle. Magenta stays the transparent colour: a target
// pixel is magenta when mostly covered by magenta (or the near-magenta the frame's region also
// leaves out), else the average of the other colours.
#pragma once
#include "skin/data/Bitmap32.h"
#include "skin/data/SkinDraw.h"

namespace kt {

struct TSkinDescription;

// How a picture is laid out: `count` equal frames side by side (or stacked), each cut by
// `margins` (left, top, right, bottom) into nine pieces.
struct TPictureLayout {
    bool Stacked = false;
    int Count = 1;
    TMargins Margins{};
};

// The picture at `pixelsPerInch` (drawn for 96). The frame size is scaled and the picture is
// made of Count frames of that size; pixels beyond the last whole frame are dropped. The
// margins it was cut at go to `scaledMargins`: the ones to draw it with.
TBitmap32 ScaleSkinPicture(const TBitmap32& image, const TPictureLayout& layout, int pixelsPerInch,
                           TMargins* scaledMargins = nullptr);

// Stretches src onto dst's rectangle with an area average, keyed on magenta (see above).
void SmoothStretch(PixelView dst, const TRectI& dstRect, ConstPixelView src, const TRectI& srcRect);

// Every picture, margin, title-button place and the title's font height and text shifts of a
// description, from 96 to `pixelsPerInch`. 96 changes nothing.
void ScaleSkinDescription(TSkinDescription& d, int pixelsPerInch);

}  // namespace kt
