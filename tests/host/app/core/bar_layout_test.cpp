#include <gtest/gtest.h>

#include "app/core/BarLayout.h"
#include "core/Errors.h"

TEST(BarLayout, ButtonsStepDownFromTheAnchor) {
    auto first = kt::SchemeButtonRect(1);
    EXPECT_EQ(first.left, 56);
    EXPECT_EQ(first.top, 88);
    EXPECT_EQ(first.width, 75);
    EXPECT_EQ(first.height, 25);
    EXPECT_EQ(kt::SchemeButtonRect(10).top, 376);
    EXPECT_EQ(kt::SchemeButtonRect(2, 10, 20).top, 84);
    for (int k : {0, 11, -1}) {
        try {
            kt::SchemeButtonRect(k);
            ADD_FAILURE() << k;
        } catch (const kt::EListError& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(k) + ")");
        }
    }
}

TEST(BarLayout, HeightGrowsWithButtonsUpToTen) {
    EXPECT_EQ(kt::BarHeightFor(0), 140);
    EXPECT_EQ(kt::BarHeightFor(1), 190);
    EXPECT_EQ(kt::BarHeightFor(10), 415);
    EXPECT_EQ(kt::BarHeightFor(11), 415);
    // Growing button by button lands on the same heights.
    int height = kt::kBarBaseHeight;
    for (int k = 1; k <= 12; ++k) {
        height += kt::BarGrowthFor(k);
        EXPECT_EQ(height, kt::BarHeightFor(k)) << k;
    }
    EXPECT_EQ(kt::ButtonCountFor(11), 10);
    EXPECT_EQ(kt::ButtonCountFor(3), 3);
}

TEST(BarLayout, ButtonTextOutsideTheListReportsTheZeroBasedIndex) {
    std::vector<std::string> texts = {"a", "b"};
    EXPECT_EQ(kt::ButtonText(texts, 2), "b");
    try {
        kt::ButtonText(texts, 3);
        ADD_FAILURE();
    } catch (const kt::EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (2)");
    }
    EXPECT_THROW(kt::ButtonText({}, 1), kt::EListError);
}
