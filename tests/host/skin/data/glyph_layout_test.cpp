#include <gtest/gtest.h>

#include "skin/data/GlyphLayout.h"

using namespace kt;

namespace {
constexpr auto L = TButtonLayout::blGlyphLeft, R = TButtonLayout::blGlyphRight, T = TButtonLayout::blGlyphTop,
               B = TButtonLayout::blGlyphBottom;
}

// A 100 x 30 button (60 x 60 for top and bottom), a 16 x 16 glyph and a 40 x 13 caption.
TEST(GlyphLayout, EachLayoutCentresAcrossAndPlacesAlong) {
    struct Case {
        TButtonLayout layout;
        int margin, spacing, glyphX, glyphY;
        TRectI text;
    } cases[] = {
        // Margin -1 centres glyph, gap and caption together.
        {L, -1, 4, 20, 7, {40, 9, 80, 22}},
        {R, -1, 4, 64, 7, {20, 9, 60, 22}},
        {T, -1, 4, 22, 14, {10, 34, 50, 47}},
        {B, -1, 4, 22, 30, {10, 13, 50, 26}},
        // Both -1: edge, gap and far edge share the free space in three.
        {L, -1, -1, 14, 7, {44, 9, 84, 22}},
        {B, -1, -1, 22, 34, {10, 11, 50, 24}},
        // A given margin with spacing -1 centres the caption in what the glyph leaves.
        {L, 2, -1, 2, 7, {39, 9, 79, 22}},
        {R, 2, -1, 82, 7, {21, 9, 61, 22}},
        {L, 5, 3, 5, 7, {24, 9, 64, 22}},
    };
    for (const Case& c : cases) {
        const bool across = c.layout == L || c.layout == R;
        const TGlyphPlace p =
            LayoutGlyphButton(across ? 100 : 60, across ? 30 : 60, 16, 16, 40, 13, c.layout, c.margin, c.spacing);
        SCOPED_TRACE(testing::Message() << "layout " << int(c.layout) << " margin " << c.margin << " spacing " << c.spacing);
        EXPECT_EQ(p.GlyphX, c.glyphX);
        EXPECT_EQ(p.GlyphY, c.glyphY);
        EXPECT_EQ(p.Text, c.text);
    }
}

TEST(GlyphLayout, WithoutTextOrGlyphThereIsNoGapAndTheOtherIsCentred) {
    for (int spacing : {4, -1, 20}) {
        SCOPED_TRACE(spacing);
        EXPECT_EQ(LayoutGlyphButton(100, 30, 16, 16, 0, 0, L, -1, spacing).GlyphX, 42);
        EXPECT_EQ(LayoutGlyphButton(60, 60, 16, 16, 0, 0, B, -1, spacing).GlyphY, 22);
        EXPECT_EQ(LayoutGlyphButton(100, 30, 0, 0, 40, 13, R, -1, spacing).Text, (TRectI{30, 9, 70, 22}));
        EXPECT_EQ(LayoutGlyphButton(60, 60, 0, 0, 40, 13, T, -1, spacing).Text, (TRectI{10, 24, 50, 37}));
    }
    EXPECT_EQ(LayoutGlyphButton(100, 30, 16, 16, 0, 0, R, 6, 4).GlyphX, 100 - 6 - 16);
}

TEST(GlyphLayout, StateFramesFallBackToTheFirstWhenTheStripIsShort) {
    using S = TGlyphState;
    EXPECT_EQ(GlyphIndex(S::Disabled, 2), 2);
    EXPECT_EQ(GlyphIndex(S::Disabled, 1), 1);
    EXPECT_EQ(GlyphIndex(S::Pressed, 3), 3);
    EXPECT_EQ(GlyphIndex(S::Pressed, 2), 1);
    EXPECT_EQ(GlyphIndex(S::Down, 4), 4);
    EXPECT_EQ(GlyphIndex(S::Down, 3), 1);
    EXPECT_EQ(GlyphIndex(S::Down, 9), 4);  // counts are taken within 1..4
    EXPECT_EQ(GlyphFrameWidth(TBitmap32(48, 16), 7), 12);
}

TEST(GlyphLayout, TheFramesBottomLeftColourIsTransparentAndGreyKeepsTheShape) {
    // Two 4 x 3 frames: frame 1 on white, frame 2 on green with white in its top-left corner.
    const Pixel white = 0xFFFFFF, green = 0x00FF00, red = 0xFF0000, under = 0x123456;
    TBitmap32 strip(8, 3, white);
    for (int y = 0; y < 3; ++y)
        for (int x = 5; x < 8; ++x) strip.At(x, y) = green;
    strip.At(4, 1) = strip.At(4, 2) = green;
    strip.At(1, 1) = strip.At(6, 1) = red;

    TBitmap32 dst(6, 5, under);
    DrawGlyph(dst.View(), 1, 1, strip, 2, 2);
    EXPECT_EQ(dst.At(1, 1), white);
    EXPECT_EQ(dst.At(3, 2), red);
    EXPECT_EQ(dst.At(2, 1), under);
    EXPECT_EQ(dst.At(5, 2), under);  // beyond the frame

    const TGreyColours grey{0xFFFFFE, 0x808080};
    DrawGlyph(dst.View(), 0, 0, strip, 2, 1, &grey);
    EXPECT_EQ(dst.At(1, 1), grey.Shadow);
    EXPECT_EQ(dst.At(2, 2), grey.Highlight);
    EXPECT_EQ(dst.At(0, 0), under);

    // Clipped at the edges; a strip narrower than its frame count draws nothing.
    TBitmap32 small(2, 2, under);
    DrawGlyph(small.View(), -1, -1, strip, 2, 1);
    EXPECT_EQ(small.At(0, 0), red);
    DrawGlyph(small.View(), 0, 0, TBitmap32(1, 3, red), 2, 1);
    EXPECT_EQ(small.At(1, 1), under);
}
