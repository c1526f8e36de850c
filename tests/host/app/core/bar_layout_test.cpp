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

TEST(BarLayout, TheLastButtonKeepsTheBottomMarginOfTheFirst) {
    EXPECT_EQ(kt::BarHeightFor(0), 140);
    EXPECT_EQ(kt::BarHeightFor(1), 190);
    EXPECT_EQ(kt::BarHeightFor(10), 478);
    EXPECT_EQ(kt::BarHeightFor(11), 478);
    // Whatever the frame takes, the space below the last button is the one-button bar's.
    const int margin = kt::BarHeightFor(1) - (kt::SchemeButtonRect(1).top + kt::kButtonHeight);
    for (int n = 1; n <= 10; ++n) {
        const kt::ButtonRect last = kt::SchemeButtonRect(n);
        EXPECT_EQ(kt::BarHeightFor(n) - (last.top + last.height), margin) << n;
    }
    EXPECT_EQ(kt::BarHeightFor(3, 13), 140 + 13 + 50 + 64);
    EXPECT_EQ(kt::ButtonCountFor(11), 10);
    EXPECT_EQ(kt::ButtonCountFor(3), 3);
}

TEST(BarLayout, ButtonsWidenToTheWidestCaptionUpToAThirdOfTheWorkArea) {
    struct Case {
        int caption, workArea, width;
    } cases[] = {
        {40, 1280, 75},    // fits the standard width
        {63, 1280, 75},    // exactly: 63 + 12
        {70, 1280, 82},    // "Street address": wider buttons
        {500, 1280, 426},  // a third of the work area at most
        {500, 0, 512},     // no work area known: no limit
        {500, 150, 75},    // never below the standard width
    };
    for (const Case& c : cases) EXPECT_EQ(kt::BarButtonWidth(c.caption, c.workArea), c.width) << c.caption;
    EXPECT_EQ(kt::CaptionRoom(82), 70);
    EXPECT_EQ(kt::BarLabelWidth(82), 174);
}

TEST(BarLayout, AGrownLabelMovesEverythingBelowItAndTheBarGrowsWithIt) {
    kt::BarMeasures m;
    m.labelTextHeight = 39;  // three lines of 13 where the design holds two
    m.buttonWidth = 95;
    m.buttons = 10;
    const kt::BarGeometry g = kt::BarLayoutFor(m);
    EXPECT_EQ(g.labelHeight, 39);
    EXPECT_EQ(g.groupHeight, 81 + 13);
    EXPECT_EQ(g.chooserTop, 44 + 13);
    EXPECT_EQ(g.messageTop, 50 + 13);
    EXPECT_EQ(g.anchorTop, 56 + 13);
    EXPECT_EQ(g.height, 478 + 13);
    EXPECT_EQ(g.width, 204 + 20);
    EXPECT_EQ(g.groupWidth, 193 + 20);
    EXPECT_EQ(g.labelWidth, 167 + 20);
    EXPECT_EQ(g.chooserWidth, 169 + 20);
    EXPECT_EQ(g.buttonWidth, 95);

    // A label that needs less keeps the design; a wider placed bar keeps its width.
    m = {};
    m.labelTextHeight = 13;
    m.baseWidth = 260;
    const kt::BarGeometry d = kt::BarLayoutFor(m);
    EXPECT_EQ(d.labelHeight, 26);
    EXPECT_EQ(d.anchorTop, 56);
    EXPECT_EQ(d.height, 140);
    EXPECT_EQ(d.width, 260);
}

TEST(BarLayout, ACaptionTooLongForItsButtonEndsWithDots) {
    const auto width = [](const std::wstring& s) { return static_cast<int>(s.size()) * 7; };
    EXPECT_EQ(kt::EllipsizedCaption(L"Street", 42, width), L"Street");
    EXPECT_EQ(kt::EllipsizedCaption(L"Street address", 56, width), L"Stree...");  // 8 characters fit
    EXPECT_EQ(kt::EllipsizedCaption(L"Street address", 70, width), L"Street...");  // no blank before the dots
    EXPECT_EQ(kt::EllipsizedCaption(L"Street address", 98, width), L"Street address");
    EXPECT_EQ(kt::EllipsizedCaption(L"abcdef", 14, width), L"...");
    // A character outside the basic plane is never cut in half.
    EXPECT_EQ(kt::EllipsizedCaption(L"ab\xD83D" L"\xDE00" L"cdef", 7 * 6, width), L"ab...");
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
