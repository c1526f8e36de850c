#include <gtest/gtest.h>

#include <climits>

#include "core/WindowFit.h"

using namespace kt;

TEST(WindowFit, AWindowOpensInsideTheWorkArea) {
    const TBounds work{0, 0, 1280, 994}, offset{1280, 30, 1024, 738};  // a task bar; a second monitor
    EXPECT_EQ(FitInWorkArea({100, 50, 600, 500}, work), (TBounds{100, 50, 600, 500}));  // fits: stays
    EXPECT_EQ(FitInWorkArea({43, -8, 1194, 1041}, work), (TBounds{43, 0, 1194, 994}));  // too tall: cut
    EXPECT_EQ(FitInWorkArea({900, 800, 600, 500}, work), (TBounds{680, 494, 600, 500}));
    EXPECT_EQ(FitInWorkArea({-3000, INT_MAX, 200, 100}, work), (TBounds{0, 894, 200, 100}));
    EXPECT_EQ(FitInWorkArea({0, 0, 300, 200}, offset), (TBounds{1280, 30, 300, 200}));
    // Centred: cut first, so the caption is never above the work area.
    EXPECT_EQ(CentreInWorkArea(1194, 1041, work), (TBounds{43, 0, 1194, 994}));
    EXPECT_EQ(CentreInWorkArea(600, 400, offset), (TBounds{1492, 199, 600, 400}));
}
