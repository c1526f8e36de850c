#include <gtest/gtest.h>

#include <climits>

#include "core/DpiScale.h"

using namespace kt;

TEST(DpiScale, MulDivRoundsHalfAwayFromZero) {
    struct Case {
        int v, n, d, want;
    } cases[] = {
        {75, 144, 96, 113},     // 112.5 up
        {25, 144, 96, 38},      // 37.5 up
        {-11, 144, 96, -17},    // -16.5 away from zero
        {13, 120, 96, 16},      // 16.25 down
        {7, 120, 96, 9},        // 8.75 up
        {0, 144, 96, 0},
        {10, 1, 0, 0},          // no denominator: nothing, not -1
        {10, 3, -2, -15},
        {INT_MAX, 2, 1, INT_MAX},  // saturates instead of wrapping
        {INT_MIN, 2, 1, INT_MIN},
    };
    for (const Case& c : cases) EXPECT_EQ(MulDivRound(c.v, c.n, c.d), c.want) << c.v << "*" << c.n << "/" << c.d;
}

TEST(DpiScale, DesignedMeasuresAtEachResolution) {
    // The bar's button (75 x 25, 32 apart) at the four scales the program is checked at.
    struct Case {
        int ppi, width, height, spacing;
    } cases[] = {{96, 75, 25, 32}, {120, 94, 31, 40}, {144, 113, 38, 48}, {192, 150, 50, 64}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ppi);
        EXPECT_EQ(ScaleToDpi(75, c.ppi), c.width);
        EXPECT_EQ(ScaleToDpi(25, c.ppi), c.height);
        EXPECT_EQ(ScaleToDpi(32, c.ppi), c.spacing);
    }
    EXPECT_EQ(Rescale(113, 96, 144), 75);  // a monitor of another scale: back to where it came from
}

TEST(DpiScale, PointsAndPixelHeights) {
    EXPECT_EQ(FontHeightForPoints(8, 96), -11);
    EXPECT_EQ(FontHeightForPoints(8, 144), -16);
    EXPECT_EQ(FontHeightForPoints(8, 192), -21);
    EXPECT_EQ(FontPointsForHeight(-11, 96), 8);
    EXPECT_EQ(FontPointsForHeight(-16, 144), 8);
    // A display that reports nothing usable is taken as 96.
    EXPECT_EQ(FontHeightForPoints(8, 0), -11);
    EXPECT_EQ(SanePixelsPerInch(-5), 96);
    EXPECT_EQ(SanePixelsPerInch(100000), 96);
    EXPECT_EQ(SanePixelsPerInch(120), 120);
    EXPECT_TRUE(IsWholeScale(96));
    EXPECT_TRUE(IsWholeScale(192));
    EXPECT_FALSE(IsWholeScale(144));
    EXPECT_FALSE(IsWholeScale(0));
}
