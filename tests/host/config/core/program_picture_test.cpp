// The program's picture in the About box, drawn without a window.
#include <gtest/gtest.h>

#include "config/core/ProgramPicture.h"

using namespace kt;

TEST(ProgramPicture, KeyCapOnTheTransparentColourWithTheCursorInWhite) {
    TBitmap32 p = DrawProgramPicture(200);
    ASSERT_EQ(p.Width(), 200);
    ASSERT_EQ(p.Height(), 200);
    EXPECT_EQ(p.At(0, 0), kMagenta);
    EXPECT_EQ(p.At(199, 199), kMagenta);
    EXPECT_EQ(p.At(100, 100), MakePixel(255, 255, 255));  // the cursor's stem
    const Pixel key = p.At(30, 150);
    EXPECT_NE(key, kMagenta);
    EXPECT_GT(PixelB(key), PixelR(key));  // blue
    int transparent = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) transparent += p.At(x, y) == kMagenta;
    EXPECT_GT(transparent, 0);
    EXPECT_LT(transparent, 200 * 200 / 10);  // only the rounded corners
    EXPECT_TRUE(DrawProgramPicture(0).Empty());
}
