#include <gtest/gtest.h>

#include "skin/data/SkinDraw.h"

using namespace kt;

namespace {

// Every pixel carries its own coordinates, so a copy shows where each target pixel came from.
TBitmap32 Coords(int w, int h) {
    TBitmap32 bm(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bm.At(x, y) = MakePixel(x, y, 1);
    return bm;
}
int SrcX(Pixel p) { return PixelR(p); }
int SrcY(Pixel p) { return PixelG(p); }

}  // namespace

TEST(SkinDraw, FrameStripsSideBySideAndStacked) {
    EXPECT_EQ(FrameRect(100, 20, false, 4, 3), (TRectI{50, 0, 75, 20}));
    EXPECT_EQ(FrameRect(30, 60, true, 2, 2), (TRectI{0, 30, 30, 60}));
    // Bad counts and frame numbers never leave the picture.
    EXPECT_EQ(FrameRect(100, 20, false, 0, 1), (TRectI{0, 0, 100, 20}));
    EXPECT_EQ(FrameRect(100, 20, false, -3, 5), (TRectI{0, 0, 100, 20}));
    EXPECT_EQ(FrameRect(100, 20, false, 4, 9), (TRectI{75, 0, 100, 20}));
    EXPECT_EQ(FrameRect(100, 20, false, 4, 0), (TRectI{0, 0, 25, 20}));
    EXPECT_TRUE(FrameRect(3, 20, false, 4, 1).IsEmpty());
    EXPECT_TRUE(FrameRect(0, 0, false, 1, 1).IsEmpty());
}

TEST(SkinDraw, StretchIsNearestNeighbourAndClipped) {
    TBitmap32 src = Coords(2, 2);
    TBitmap32 dst(4, 4);
    StretchCopy(dst.View(), {0, 0, 4, 4}, src.View(), {0, 0, 2, 2});
    EXPECT_EQ(SrcX(dst.At(0, 0)), 0);
    EXPECT_EQ(SrcX(dst.At(1, 0)), 0);
    EXPECT_EQ(SrcX(dst.At(2, 0)), 1);
    EXPECT_EQ(SrcY(dst.At(3, 3)), 1);
    // Partly outside the target: only the visible part is written, with the same mapping.
    TBitmap32 d2(3, 3, 0xABCDEF);
    StretchCopy(d2.View(), {-2, -2, 2, 2}, src.View(), {0, 0, 2, 2});
    EXPECT_EQ(SrcX(d2.At(0, 0)), 1);
    EXPECT_EQ(d2.At(2, 2), 0xABCDEFu);
    // A source rectangle reaching outside the source samples its edge pixels.
    TBitmap32 d3(4, 1);
    StretchCopy(d3.View(), {0, 0, 4, 1}, src.View(), {0, 0, 4, 1});
    EXPECT_EQ(SrcX(d3.At(3, 0)), 1);
    // Inverted rectangles draw nothing.
    TBitmap32 d4(2, 2, 5);
    StretchCopy(d4.View(), {2, 0, 0, 2}, src.View(), {0, 0, 2, 2});
    StretchCopy(d4.View(), {0, 0, 2, 2}, src.View(), {2, 0, 0, 2});
    EXPECT_EQ(d4.At(0, 0), 5u);
}

TEST(SkinDraw, NinePieceKeepsMarginsAndScalesTheMiddle) {
    TBitmap32 img = Coords(10, 10);
    TBitmap32 out = BuildNinePiece(img, {3, 2, 4, 1}, false, false, 1, 1, 30, 20);
    ASSERT_EQ(out.Width(), 30);
    // Corners are copied unscaled.
    EXPECT_EQ(out.At(0, 0), img.At(0, 0));
    EXPECT_EQ(out.At(2, 1), img.At(2, 1));
    EXPECT_EQ(out.At(29, 19), img.At(9, 9));
    EXPECT_EQ(out.At(26, 0), img.At(6, 0));
    EXPECT_EQ(out.At(0, 19), img.At(0, 9));
    // Edges are stretched only along their length.
    EXPECT_EQ(SrcX(out.At(1, 10)), 1);
    EXPECT_EQ(SrcY(out.At(15, 0)), 0);
    EXPECT_EQ(SrcX(out.At(28, 10)), 8);
    EXPECT_EQ(SrcY(out.At(15, 19)), 9);
    // Middle: source columns 3..5 over target columns 3..25.
    for (int x = 3; x < 26; ++x) {
        EXPECT_GE(SrcX(out.At(x, 10)), 3);
        EXPECT_LE(SrcX(out.At(x, 10)), 5);
    }
}

TEST(SkinDraw, NinePieceDropsMarginsThatDoNotFit) {
    TBitmap32 img = Coords(20, 20);
    // 10 wide with left and right margins of 6: the whole frame is stretched across.
    TBitmap32 out = BuildNinePiece(img, {6, 2, 6, 2}, false, false, 1, 1, 10, 20);
    EXPECT_EQ(SrcX(out.At(0, 10)), 1);
    EXPECT_EQ(SrcX(out.At(9, 10)), 19);
    EXPECT_EQ(SrcX(out.At(5, 10)), 11);
    // The vertical margins still apply.
    EXPECT_EQ(SrcY(out.At(5, 0)), 0);
    EXPECT_EQ(SrcY(out.At(5, 19)), 19);
    // Negative margins count as none; zero size gives nothing.
    TBitmap32 neg = BuildNinePiece(img, {-5, -5, -5, -5}, false, false, 1, 1, 40, 40);
    EXPECT_EQ(SrcX(neg.At(39, 39)), 19);
    EXPECT_TRUE(BuildNinePiece(img, {}, false, false, 1, 1, 0, 10).Empty());
}

TEST(SkinDraw, NinePieceSelectsTheFrameAndTilesTheCentre) {
    TBitmap32 img = Coords(40, 10);  // 4 frames of 10 x 10
    TBitmap32 out = BuildNinePiece(img, {2, 2, 2, 2}, false, true, 4, 3, 30, 30);
    EXPECT_EQ(out.At(0, 0), img.At(20, 0));
    EXPECT_EQ(out.At(29, 29), img.At(29, 9));
    // The 6 x 6 centre repeats from the centre's top-left: target x 2, 8, 14 all show source x 22.
    EXPECT_EQ(SrcX(out.At(2, 5)), 22);
    EXPECT_EQ(SrcX(out.At(8, 5)), 22);
    EXPECT_EQ(SrcX(out.At(14, 5)), 22);
    EXPECT_EQ(SrcX(out.At(27, 5)), 23);  // last tile cut short by the right margin
    EXPECT_EQ(SrcY(out.At(5, 8)), 2);
    // Stacked frames.
    TBitmap32 tall = Coords(10, 40);
    TBitmap32 st = BuildNinePiece(tall, {}, true, false, 4, 2, 10, 10);
    EXPECT_EQ(st.At(3, 3), tall.At(3, 13));
}

TEST(SkinDraw, TransparentDrawsKeepTheTargetUnderMagenta) {
    TBitmap32 img(4, 1);
    img.At(0, 0) = kMagenta;
    img.At(1, 0) = 0x112233;
    img.At(2, 0) = 0x445566;
    img.At(3, 0) = kMagenta;
    TBitmap32 dst(4, 1, 0x999999);
    DrawNinePiece(dst.View(), {0, 0, 4, 1}, img, {}, false, false, 1, 1, true);
    EXPECT_EQ(dst.At(0, 0), 0x999999u);
    EXPECT_EQ(dst.At(1, 0), 0x112233u);
    EXPECT_EQ(dst.At(3, 0), 0x999999u);
    TBitmap32 opaque(4, 1, 0x999999);
    DrawNinePiece(opaque.View(), {0, 0, 4, 1}, img, {}, false, false, 1, 1, false);
    EXPECT_EQ(opaque.At(0, 0), kMagenta);
    // Inverted target: nothing.
    TBitmap32 keep(4, 1, 7);
    DrawNinePiece(keep.View(), {3, 0, 1, 1}, img, {}, false, false, 1, 1, false);
    DrawSingleFrame(keep.View(), {3, 0, 1, 1}, img, false, 1, 1);
    EXPECT_EQ(keep.At(2, 0), 7u);
    // Single frame, keyed, clipped at the target's edge.
    TBitmap32 sf(3, 1, 0x999999);
    DrawSingleFrame(sf.View(), {-1, 0, 3, 1}, img, true, 1, 1);
    EXPECT_EQ(sf.At(0, 0), 0x112233u);
    EXPECT_EQ(sf.At(2, 0), 0x999999u);
}

TEST(SkinDraw, ThreePieceRepeatsTheMiddleBetweenCaps) {
    TBitmap32 img = Coords(10, 4);  // caps 2 and 3, middle 5 wide
    TBitmap32 dst(20, 8, 0x777777);
    DrawThreePiece(dst.View(), {0, 0, 20, 8}, img, false, false, 1, 1, 2, 3);
    EXPECT_EQ(SrcX(dst.At(0, 0)), 0);
    EXPECT_EQ(SrcX(dst.At(2, 0)), 2);
    EXPECT_EQ(SrcX(dst.At(7, 0)), 2);   // second copy of the middle
    EXPECT_EQ(SrcX(dst.At(16, 0)), 6);  // third copy, overrun under the right cap
    EXPECT_EQ(SrcX(dst.At(17, 0)), 7);  // right cap
    EXPECT_EQ(SrcX(dst.At(19, 7)), 9);
    EXPECT_EQ(SrcY(dst.At(19, 7)), 3);  // stretched to full height
    // No middle left: the undrawn part keeps the target.
    TBitmap32 d2(20, 4, 0x777777);
    DrawThreePiece(d2.View(), {0, 0, 20, 4}, img, false, true, 1, 1, 5, 5);
    EXPECT_EQ(d2.At(10, 0), 0x777777u);
    EXPECT_EQ(SrcX(d2.At(16, 0)), 6);
}

TEST(SkinDraw, RegionRunsFollowTheKeyWithTolerance) {
    TBitmap32 img(6, 3, kMagenta);
    // Row 0: magenta only at both ends -> one run between them.
    for (int x = 1; x < 5; ++x) img.At(x, 0) = 0x102030;
    // Row 1: two runs; a near-magenta pixel (254, 1, 254) is outside the tolerance, (255, 1, 255) inside.
    img.At(0, 1) = 0x000000;
    img.At(2, 1) = MakePixel(255, 1, 255);
    img.At(3, 1) = MakePixel(254, 0, 255);
    // Row 2: all key colour.
    auto runs = RegionRuns(img.View(), 10, 20);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0], (TRectI{11, 20, 15, 21}));
    EXPECT_EQ(runs[1], (TRectI{10, 21, 11, 22}));
    EXPECT_EQ(runs[2], (TRectI{13, 21, 14, 22}));
    EXPECT_TRUE(RegionRuns(TBitmap32(5, 5, kMagenta).View(), 0, 0).empty());
    // Zero tolerance: only exact magenta is the key.
    auto exact = RegionRuns(img.View(), 0, 0, kMagenta, 0, 0, 0);
    ASSERT_EQ(exact.size(), 3u);
    EXPECT_EQ(exact[2], (TRectI{2, 1, 4, 2}));
}

TEST(SkinDraw, SoftIconEdgesBecomeKeyOrTheirOwnColour) {
    // An icon's pixels over black and over white: opaque, 3/4 covered, 1/4 covered, opaque magenta.
    TBitmap32 black(4, 1), white(4, 1);
    black.At(0, 0) = white.At(0, 0) = MakePixel(200, 10, 30);
    black.At(1, 0) = MakePixel(150, 0, 90), white.At(1, 0) = MakePixel(214, 64, 154);
    black.At(2, 0) = MakePixel(50, 0, 30), white.At(2, 0) = MakePixel(241, 191, 221);
    black.At(3, 0) = white.At(3, 0) = kMagenta;
    KeyFromTwoBackgrounds(white.View(), black.View());
    EXPECT_EQ(white.At(0, 0), MakePixel(200, 10, 30));
    EXPECT_EQ(white.At(1, 0), MakePixel(200, 0, 120));  // its own colour, not the blend
    EXPECT_EQ(white.At(2, 0), kMagenta);
    EXPECT_EQ(RegionRuns(white.View(), 0, 0).size(), 2u) << "the opaque magenta-ish pixel must not drop out";
}

TEST(SkinDraw, FlipAndQuarterTurns) {
    TBitmap32 img = Coords(3, 2);
    TBitmap32 f = FlipVertical(img);
    EXPECT_EQ(f.At(2, 0), img.At(2, 1));
    TBitmap32 cw = RotateQuarter(img, true);
    ASSERT_EQ(cw.Width(), 2);
    ASSERT_EQ(cw.Height(), 3);
    EXPECT_EQ(cw.At(1, 0), img.At(0, 0));  // top-left goes to the top-right
    EXPECT_EQ(cw.At(0, 2), img.At(2, 1));
    TBitmap32 ccw = RotateQuarter(img, false);
    EXPECT_EQ(ccw.At(0, 2), img.At(0, 0));  // top-left goes to the bottom-left
    EXPECT_EQ(RotateQuarter(cw, false), img);
}
