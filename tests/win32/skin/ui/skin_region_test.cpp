#include <gtest/gtest.h>

#include "skin/data/SkinDraw.h"
#include "skin/ui/SkinDib.h"
#include "skin/ui/SkinRegion.h"

using namespace kt;

TEST(SkinRegion, AllKeyColourGivesAnEmptyRegionNotNull) {
    TBitmap32 img(20, 10, kMagenta);
    HRGN r = RegionFromImage(img.View(), 0, 0);
    ASSERT_NE(r, nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(r, &box), NULLREGION);
    DeleteObject(r);
}

TEST(SkinRegion, RunsBecomeTheShapeAcrossBatches) {
    // Alternating pixels give 1,500 runs per row x 4 rows: three batches of at most 2,000.
    TBitmap32 img(3000, 4, kMagenta);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3000; x += 2) img.At(x, y) = 0x123456;
    ASSERT_EQ(RegionRuns(img.View(), 0, 0).size(), 6000u);
    HRGN r = RegionFromImage(img.View(), 5, 7);
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(PtInRegion(r, 5, 7));
    EXPECT_FALSE(PtInRegion(r, 6, 7));
    EXPECT_TRUE(PtInRegion(r, 5 + 2998, 7 + 3));
    EXPECT_FALSE(PtInRegion(r, 5 + 2999, 7 + 3));
    RECT box;
    GetRgnBox(r, &box);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.bottom, 11);
    DeleteObject(r);
}

TEST(SkinDib, SharesItsPixelsWithGdi) {
    TDibBitmap dib(8, 4);
    FillRect(dib.View(), {0, 0, 8, 4}, 0x0000FF);
    GdiFlush();
    EXPECT_EQ(GetPixel(dib.Dc(), 1, 1), RGB(0, 0, 255));
    SetPixel(dib.Dc(), 2, 3, RGB(255, 0, 0));
    GdiFlush();
    EXPECT_EQ(dib.View().Row(3)[2], 0xFF0000u);
    // A keyed draw leaves the target under magenta pixels.
    TDibBitmap target(8, 4);
    FillRect(target.View(), {0, 0, 8, 4}, 0x00FF00);
    dib.View().Row(0)[0] = kMagenta;
    dib.Draw(target.Dc(), 0, 0, true);
    GdiFlush();
    EXPECT_EQ(target.View().Row(0)[0], 0x00FF00u);
    EXPECT_EQ(target.View().Row(0)[1], 0x0000FFu);
}
