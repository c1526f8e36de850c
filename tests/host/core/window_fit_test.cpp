#include <gtest/gtest.h>

#include <climits>

#include "core/WindowFit.h"

using namespace kt;

TEST(WindowFit, AWindowOpensInsideTheWorkArea) {
    const TBounds work{0, 0, 1280, 994};  // 1280 x 1024 less a task bar
    struct Case {
        TBounds window, want;
    } cases[] = {
        {{100, 50, 600, 500}, {100, 50, 600, 500}},        // fits: left as it is
        {{43, -8, 1194, 1041}, {43, 0, 1194, 994}},        // taller than the screen: cut, top at 0
        {{900, 800, 600, 500}, {680, 494, 600, 500}},      // past the far edges: moved back in
        {{-3000, INT_MAX, 200, 100}, {0, 894, 200, 100}},  // far off, any number stored
        {{10, 10, 5000, 5000}, {0, 0, 1280, 994}},
    };
    for (const Case& c : cases) EXPECT_EQ(FitInWorkArea(c.window, work), c.want) << c.window.Left << "," << c.window.Top;
    // A work area that does not start at 0 (a task bar on the left, a second monitor).
    EXPECT_EQ(FitInWorkArea({0, 0, 300, 200}, {1280, 30, 1024, 738}), (TBounds{1280, 30, 300, 200}));
    // Centred: cut first, so the title bar is never above the work area.
    EXPECT_EQ(CentreInWorkArea(1194, 1041, work), (TBounds{43, 0, 1194, 994}));
    EXPECT_EQ(CentreInWorkArea(600, 400, {1280, 30, 1024, 738}), (TBounds{1492, 199, 600, 400}));
}
