#include "skin/data/PainterGeometry.h"

#include <gtest/gtest.h>

namespace kt {
namespace {

TEST(PainterGeometry, FaceFrameRanksDisabledOverPressedOverHighlighted) {
    EXPECT_EQ(FaceFrame(true, false, false), 1);
    EXPECT_EQ(FaceFrame(true, false, true), 4);
    EXPECT_EQ(FaceFrame(true, true, true), 2);
    EXPECT_EQ(FaceFrame(false, true, true), 3);
}

TEST(PainterGeometry, BoxFrameAddsTwoForDisabled) {
    EXPECT_EQ(BoxFrame(false, false), 1);
    EXPECT_EQ(BoxFrame(true, false), 2);
    EXPECT_EQ(BoxFrame(false, true), 3);
    EXPECT_EQ(BoxFrame(true, true), 4);
}

TEST(PainterGeometry, SectionShowsPressedOnlyWhileTheMouseStaysOnIt) {
    EXPECT_EQ(SectionFrame(0, -1, -1, false, 4), 1);
    EXPECT_EQ(SectionFrame(0, 0, -1, false, 4), 4);  // hot
    EXPECT_EQ(SectionFrame(0, 0, 0, false, 4), 2);   // pressed, mouse on it
    EXPECT_EQ(SectionFrame(0, 1, 0, false, 4), 1);   // pressed, mouse moved off: normal
    EXPECT_EQ(SectionFrame(1, 1, 0, false, 4), 4);   // the section under the mouse is hot
    EXPECT_EQ(SectionFrame(0, 0, 0, true, 4), 3);    // disabled wins
}

TEST(PainterGeometry, SectionFallsBackToTheFirstFrameWhenThePictureHasTooFew) {
    EXPECT_EQ(SectionFrame(0, 0, -1, false, 3), 1);  // hot needs frame 4
    EXPECT_EQ(SectionFrame(0, 0, 0, false, 2), 2);
    EXPECT_EQ(SectionFrame(0, 0, 0, false, 1), 1);
    EXPECT_EQ(SectionFrame(0, -1, -1, true, 0), 1);  // no frame count: one frame
}

TEST(PainterGeometry, ThumbFollowsPageAndPositionWithinTheTrack) {
    struct Case {
        TScrollNumbers n;
        int length, arrow, offset, thumb;
    } cases[] = {
        {{0, 99, 10, 0}, 232, 16, 16, 20},    // page 10 of 100 on a 200-pixel track
        {{0, 99, 10, 90}, 232, 16, 196, 20},  // at the end: flush with the lower arrow
        {{0, 99, 10, 500}, 232, 16, 196, 20}, // a position past the end stays at the end
        {{0, 99, 10, -5}, 232, 16, 16, 20},   // and one before the start at the start
        {{0, 99, 100, 0}, 232, 16, 0, 0},     // the page shows everything: no thumb
        {{0, 99, 1, 0}, 232, 16, 16, 8},      // a tiny page: the minimum thumb
        {{0, 99, 0, 45}, 232, 16, 103, 8},    // no page: the minimum thumb, placed by position
        {{0, 99, 10, 0}, 30, 16, 0, 0},       // no track left between the arrows
        {{10, 10, 0, 10}, 232, 16, 0, 0},     // an empty range
        {{0, 99, 10, 0}, 36, 16, 16, 4},      // a track shorter than the minimum thumb
    };
    for (const Case& c : cases) {
        const TThumb t = ThumbGeometry(c.n, c.length, c.arrow, 8);
        EXPECT_EQ(t.Length, c.thumb) << c.n.Pos << "/" << c.n.Page << " in " << c.length;
        if (c.thumb) EXPECT_EQ(t.Offset, c.offset) << c.n.Pos << "/" << c.n.Page << " in " << c.length;
    }
}

TEST(PainterGeometry, ThumbOfAFullIntRangeDoesNotOverflow) {
    const TThumb t = ThumbGeometry({-2147483647 - 1, 2147483647, 1u << 30, 2147483647}, 232, 16, 8);
    EXPECT_EQ(t.Length, 50);
    EXPECT_EQ(t.Offset + t.Length, 232 - 16);
}

TEST(PainterGeometry, TabsOnEachSideStandOutTowardTheirSideAndTurnTheirPicture) {
    const TRectI tab{10, 20, 60, 40};  // 50 x 20
    const struct {
        bool bottom, vertical;
        TTabSide side;
        TRectI selected, upright;
    } cases[] = {{false, false, TTabSide::Top, {8, 18, 62, 41}, {0, 0, 50, 20}},
                 {true, false, TTabSide::Bottom, {8, 19, 62, 42}, {0, 0, 50, 20}},
                 {false, true, TTabSide::Left, {8, 18, 61, 42}, {0, 0, 20, 50}},
                 {true, true, TTabSide::Right, {9, 18, 62, 42}, {0, 0, 20, 50}}};
    for (const auto& c : cases) {
        EXPECT_EQ(TabSide(c.bottom, c.vertical), c.side);
        EXPECT_EQ(SelectedTabRect(tab, c.side), c.selected);
        EXPECT_EQ(UprightTabSize(tab, c.side), c.upright);
    }
}

TEST(PainterGeometry, ArrowLinesFillATriangleInsideTheButtonPointingTheirWay) {
    for (TArrow toward : {TArrow::Up, TArrow::Down, TArrow::Left, TArrow::Right})
        for (const TRectI b : {TRectI{0, 0, 17, 12}, TRectI{3, 5, 12, 40}, TRectI{0, 0, 2, 2}}) {
            const std::vector<TRectI> lines = ArrowLines(b, toward);
            const bool vertical = toward == TArrow::Up || toward == TArrow::Down;
            const int back = toward == TArrow::Up || toward == TArrow::Left ? 1 : -1;
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines[0].Width() * lines[0].Height(), 1);  // the point
            for (std::size_t k = 0; k < lines.size(); ++k) {
                const TRectI& l = lines[k];
                EXPECT_TRUE(l.Left >= b.Left && l.Top >= b.Top && l.Right <= b.Right && l.Bottom <= b.Bottom);
                // Each line one further back from the point and two wider.
                if (k > 0)
                    EXPECT_EQ(vertical ? l.Top - lines[k - 1].Top : l.Left - lines[k - 1].Left, back);
                if (k > 0) EXPECT_EQ(vertical ? l.Width() : l.Height(), int(2 * k + 1));
            }
        }
}

}  // namespace
}  // namespace kt
