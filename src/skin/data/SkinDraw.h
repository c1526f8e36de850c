// The raster routines every skinned surface is drawn with: frame strips, the nine-piece and
// three-piece builders, tiling, nearest-neighbour stretching (as the COLORONCOLOR stretch mode
// gives), the magenta-keyed copy, the region of an image as row runs, flips and quarter turns.
// Destinations are pixel views, so a DIB section can be drawn on directly.
#pragma once
#include <vector>

#include "skin/data/Bitmap32.h"

namespace kt {

// Frame n (from 1) of a strip of `count` equal frames, side by side or stacked. A count below
// 1 is taken as 1 and a frame number outside 1..count as the nearest valid one, so a bad
// description can never make a routine read outside its picture. Empty when the frames would
// be less than one pixel wide or high.
TRectI FrameRect(int imageWidth, int imageHeight, bool stacked, int count, int frame);
ConstPixelView SubView(ConstPixelView v, const TRectI& r);  // r must lie inside v

// Scales src rectangle onto dst rectangle, nearest neighbour; the destination is clipped to
// the view, source samples are clamped to the source view. Inverted rectangles draw nothing.
void StretchCopy(PixelView dst, const TRectI& dstRect, ConstPixelView src, const TRectI& srcRect);
// Repeats the source rectangle from the target's top-left, cut at the target's edges.
void TileCopy(PixelView dst, const TRectI& dstRect, ConstPixelView src, const TRectI& srcRect);
// Copies src to (x, y) leaving the destination wherever src is the key colour.
void TransparentCopy(PixelView dst, int x, int y, ConstPixelView src, Pixel key = kMagenta);
void OpaqueCopy(PixelView dst, int x, int y, ConstPixelView src);
void FillRect(PixelView dst, const TRectI& r, Pixel p);

// Margins of an element: the fixed parts of a frame (left, top, right, bottom widths).
using TMargins = TRectI;

// Nine pieces of one frame onto W x H at (x, y) of dst. Margins that do not fit the target
// in one direction are dropped in that direction; negative margins count as 0.
void ComposeNinePiece(PixelView dst, int x, int y, int W, int H, ConstPixelView image, const TMargins& margins,
                      bool stacked, bool tile, int count, int frame);
TBitmap32 BuildNinePiece(const TBitmap32& image, const TMargins& margins, bool stacked, bool tile, int count,
                         int frame, int W, int H);
// Builds the nine pieces for rect's size and copies them there, opaque or through the magenta key.
void DrawNinePiece(PixelView dst, const TRectI& rect, const TBitmap32& image, const TMargins& margins, bool stacked,
                   bool tile, int count, int frame, bool transparent);

// Left cap (L columns), repeated middle, right cap (R columns), each stretched to full height.
void DrawThreePiece(PixelView dst, const TRectI& rect, const TBitmap32& image, bool stacked, bool transparent,
                    int count, int frame, int capLeft, int capRight);

// One frame stretched over the whole rectangle.
void DrawSingleFrame(PixelView dst, const TRectI& rect, const TBitmap32& image, bool transparent, int count,
                     int frame);

// Every maximal run of non-key pixels of each row, as one-pixel-high rectangles moved by
// (xOffset, yOffset). A pixel is key colour when each channel lies in [key, key + tolerance]
// (capped at 255); the frame uses tolerances 1, 1, 1 with magenta.
std::vector<TRectI> RegionRuns(ConstPixelView image, int xOffset, int yOffset, Pixel key = kMagenta, int dR = 1,
                               int dG = 1, int dB = 1);

// A picture with soft edges (an icon's alpha) made keyed: `onWhite` and `onBlack` are the same
// drawing over white and over black. A pixel less than half covered becomes magenta; any
// other its own colour (the background taken out), never one the key would take for magenta.
// The result goes to onWhite.
void KeyFromTwoBackgrounds(PixelView onWhite, ConstPixelView onBlack);

TBitmap32 FlipVertical(const TBitmap32& image);
TBitmap32 RotateQuarter(const TBitmap32& image, bool clockwise);

}  // namespace kt
