#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "skin/data/TitleButtons.h"

using namespace kt;

namespace {

std::unique_ptr<TDataSkinSysButton> Button(int action, int vis, int vis1, int align = 0, int x = 0, int y = 0,
                                           int imageW = 0, int imageH = 0, int frames = 1) {
    auto b = std::make_unique<TDataSkinSysButton>("Button");
    b->Action = action, b->Visibility = vis, b->Visibility1 = vis1, b->Align = align;
    b->XCoord = x, b->YCoord = y, b->FrameCount = frames;
    if (imageW > 0) b->Image.SetSize(imageW, imageH);
    return b;
}

}  // namespace

TEST(TitleButtons, VisibilityCodesAgainstWindowFacts) {
    using F = TTitleWindowFacts;  // by default a normal, active, sizable window with a system menu and both boxes
    const F normal, noSys{.SystemMenu = false}, other{.BorderKind = kBorderOther}, max{.Maximized = true},
        inactive{.Active = false}, noMax{.MaximizeBox = false}, noMin{.MinimizeBox = false},
        noMaxNoSys{.SystemMenu = false, .MaximizeBox = false}, mdi{.MdiChildMaximized = true, .MenuBarHeight = 20},
        mdiNoBar{.MdiChildMaximized = true};
    struct Row { int vis, vis1, action; const F& w; bool visible; };
    const Row rows[] = {
        // 0: the close button follows the system menu, the other buttons the border kind.
        {0, 0, 0, normal, true}, {0, 0, 0, noSys, false}, {0, 0, 0, other, true}, {0, 0, 4, other, false},
        {0, 0, 4, noSys, true}, {1, 1, 4, max, true}, {1, 1, 4, normal, false}, {200, 1, 4, normal, false},
        {2, 2, 4, normal, true}, {2, 2, 4, max, false}, {200, 2, 4, max, false}, {3, 3, 4, normal, true},
        {3, 3, 4, inactive, false}, {4, 4, 4, inactive, true}, {4, 200, 4, normal, false},
        // 6 and 8 need the system menu only in the first column.
        {6, 200, 4, normal, true}, {6, 200, 4, noSys, false}, {200, 6, 4, noSys, true}, {200, 6, 4, noMax, false},
        {8, 200, 4, noSys, false}, {200, 8, 4, noSys, true}, {200, 8, 4, noMin, false}, {7, 7, 4, noMaxNoSys, true},
        {7, 200, 4, normal, false}, {9, 9, 4, noMin, true}, {200, 9, 4, normal, false},
        // 100 in the second column repeats the first column's result.
        {100, 100, 4, mdi, true}, {100, 100, 4, mdiNoBar, false}, {100, 200, 4, normal, false},
        {200, 100, 4, normal, true}, {5, 100, 4, normal, false}, {5, 200, 4, normal, false},
        {10, 200, 4, normal, false}, {11, 200, 4, normal, false}, {200, 5, 4, normal, false},
        {200, 12, 4, normal, false}, {2000, 2000, 4, normal, true}, {199, 200, 4, normal, false},
        {200, 2001, 4, normal, false}, {-1, 200, 4, normal, false},
        // Maximise and minimise buttons vanish without their box whatever their codes say.
        {200, 200, 1, noMax, false}, {200, 200, 1, noMin, true}, {200, 200, 2, noMin, false},
        {200, 200, 2, noMax, true}, {200, 200, 22, noMax, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(TitleButtonVisible(*Button(r.action, r.vis, r.vis1), r.w), r.visible)
            << "Visibility " << r.vis << " / " << r.vis1 << ", Action " << r.action;
}

TEST(TitleButtons, LayoutByAlign) {
    TTitleLayoutFacts f{.Width = 300, .TitleTextLeft = 100, .TitleTextRight = 200, .CaptionHeight = 30,
                        .MenuBarHeight = 20, .RightWidth = 5, .MenuBarLeftWidth = 3};
    struct Row { int action, vis, align, x, y, imageW, imageH, frames; TRectI want; };
    const Row rows[] = {
        {3, 200, 0, 4, 2, 60, 18, 3, {4, 2, 24, 20}},  // one frame of 20 × 18
        {0, 200, 1, 50, 2, 60, 18, 3, {250, 2, 270, 20}},
        {1, 200, 1, 30, 2, 60, 18, 3, {270, 2, 290, 20}},  // further right: the rightmost left
        {2, 200, 1, 40, 2, 60, 18, 3, {260, 2, 280, 20}},
        {4, 5, 1, 80, 2, 60, 18, 3, {}},  // hidden: neither placed nor counted
        {4, 200, 2, 3, 1, 60, 18, 3, {77, 1, 97, 19}}, {4, 200, 8, 3, 1, 60, 18, 3, {77, 1, 97, 19}},
        {4, 200, 3, 3, 1, 60, 18, 3, {203, 1, 223, 19}}, {4, 200, 9, 3, 1, 60, 18, 3, {203, 1, 223, 19}},
        {7, 200, 100, 10, 99, 16, 14, 1, {282, 33, 298, 47}},  // centred in the menu bar
        {4, 200, 7, 10, 10, 60, 18, 3, {0, 0, 20, 18}},
        {4, 200, 1, 10, 2, 0, 0, 1, {}},            // visible, no picture: no rectangle
        {4, 200, 0, 1, 1, 40, 10, 0, {1, 1, 41, 11}},  // no frame count: the whole picture
    };
    std::vector<std::unique_ptr<TDataSkinSysButton>> b;
    for (const Row& r : rows) b.push_back(Button(r.action, r.vis, 200, r.align, r.x, r.y, r.imageW, r.imageH, r.frames));
    const TTitleLayout l = LayOutTitleButtons(b, {}, f);
    ASSERT_EQ(l.Spots.size(), b.size());
    for (std::size_t i = 0; i < b.size(); ++i)
        EXPECT_TRUE(l.Spots[i].Rect == rows[i].want && l.Spots[i].Action == rows[i].action &&
                    l.Spots[i].Visible == (rows[i].vis == 200)) << "button " << i;
    // Only right-aligned buttons count: the MDI button at 282 does not.
    EXPECT_EQ(l.RightmostButtonLeft, 270);
    // Each layout starts again: a narrower window has its rightmost button further left.
    f.Width = 200;
    EXPECT_EQ(LayOutTitleButtons(b, {}, f).RightmostButtonLeft, 170);
    b.erase(b.begin() + 1, b.begin() + 5);
    EXPECT_EQ(LayOutTitleButtons(b, {}, f).RightmostButtonLeft, 0);

    // Wild offsets from a skin file neither overflow nor wrap round into sight.
    std::vector<std::unique_ptr<TDataSkinSysButton>> wild;
    for (int align : {0, 1, 2, 3, 100})
        for (int v : {INT32_MIN, INT32_MAX}) wild.push_back(Button(4, 200, 200, align, v, v, 60, 18, 3));
    for (const TTitleButtonSpot& s : LayOutTitleButtons(wild, {}, f).Spots)
        EXPECT_TRUE(std::abs(s.Rect.Left) == 1 << 24 && s.Rect.Width() == 20 && s.Rect.Height() == 18)
            << s.Rect.Left << "," << s.Rect.Top;
}

TEST(TitleButtons, PaintingFrame) {
    struct Row { int frames; bool active; int frame; };
    for (Row r : {Row{4, true, 1}, Row{4, false, 4}, Row{3, false, 1}, Row{1, false, 1}, Row{6, false, 4}})
        EXPECT_EQ(CaptionButtonFrame(*Button(4, 200, 200, 0, 0, 0, 24, 6, r.frames), r.active).Frame, r.frame)
            << r.frames << " frames, active " << r.active;
    for (int action : {-1, 0, 1, 12, 22})
        EXPECT_FALSE(CaptionButtonFrame(*Button(action, 200, 200), true).WindowIcon) << action;
    EXPECT_TRUE(CaptionButtonFrame(*Button(3, 200, 200), true).WindowIcon);
    EXPECT_TRUE(StateButtonFrame(*Button(11, 200, 200), 3).WindowIcon);

    // Alone, a button draws its state; an MDI button's hot look is frame 4. Frames never pass the
    // picture's count.
    struct StateRow { int vis, frames, state, frame; };
    for (StateRow r : {StateRow{200, 4, 1, 1}, {200, 4, 2, 2}, {200, 4, 3, 3}, {100, 4, 3, 4}, {100, 4, 2, 2},
                       {200, 2, 3, 2}, {100, 3, 3, 3}, {200, 0, 2, 1}})
        EXPECT_EQ(StateButtonFrame(*Button(4, r.vis, 200, 0, 0, 0, 24, 6, r.frames), r.state).Frame, r.frame)
            << "Visibility " << r.vis << ", " << r.frames << " frames, state " << r.state;

    TTitleButtonSpot shown{true, 4, {0, 0, 6, 6}}, hidden{false, 4, {}};
    EXPECT_TRUE(DrawnInCaption(*Button(4, 200, 200, 0, 0, 0, 6, 6), shown));
    EXPECT_FALSE(DrawnInCaption(*Button(4, 200, 200, 0, 0, 0, 6, 6), hidden));
    EXPECT_FALSE(DrawnInCaption(*Button(4, 200, 200), shown));
    EXPECT_FALSE(DrawnInCaption(*Button(4, 100, 200, 0, 0, 0, 6, 6), shown));
}

TEST(TitleButtons, HitSearchTakesFirstVisibleButtonWithAnAction) {
    const TTitleButtonSpot spots[] = {{true, -1, {0, 0, 100, 20}},  // drawn, never hit
                                      {false, 0, {0, 0, 100, 20}}, {true, 1, {10, 0, 30, 20}},
                                      {true, 2, {10, 0, 50, 20}}, {true, 4, {}}};
    struct Row { int x, y, hit; };  // right and bottom edges are outside
    for (Row r : {Row{15, 5, 2}, {30, 5, 3}, {10, 19, 2}, {10, 20, -1}, {5, 5, -1}, {0, 0, -1}})
        EXPECT_EQ(HitTitleButton(spots, r.x, r.y), r.hit) << r.x << "," << r.y;
}

TEST(TitleButtons, ActionDecisions) {
    using K = TTitleActionKind;
    constexpr int N = kWindowNormal, Max = kWindowMaximized, Min = kWindowMinimized;
    struct Row { int action, state; bool mdi; K kind; std::uint32_t command; int newState; bool forgetHot; };
    const Row rows[] = {
        {0, N, false, K::Close, 0, -1, false},
        {1, N, false, K::SysCommand, kScMaximize, Max, true}, {22, Min, false, K::SysCommand, kScMaximize, Max, true},
        {1, Max, false, K::SysCommand, kScRestore, N, false}, {2, N, false, K::SysCommand, kScMinimize, Min, false},
        {23, Max, false, K::SysCommand, kScMinimize, Min, false}, {2, Min, false, K::SysCommand, kScRestore, N, false},
        {7, N, true, K::MdiChildCommand, kScMinimize, -1, false}, {60, N, true, K::MdiChildCommand, kScMinimize, -1, false},
        {8, Max, true, K::MdiChildCommand, kScRestore, -1, false}, {61, N, true, K::MdiChildCommand, kScRestore, -1, false},
        {9, N, true, K::MdiChildCommand, kScClose, -1, false}, {62, N, true, K::MdiChildCommand, kScClose, -1, false},
        // The MDI buttons do nothing for any other window, nor do unknown actions.
        {7, N, false, K::None, 0, -1, false}, {62, N, false, K::None, 0, -1, false},
        {4, N, true, K::None, 0, -1, false}, {-1, N, false, K::None, 0, -1, false}, {200, N, false, K::None, 0, -1, false},
    };
    for (const Row& r : rows) {
        TTitleActionDecision d = DecideTitleAction(r.action, r.state, r.mdi, 40, 50);
        EXPECT_TRUE(d.Kind == r.kind && d.Command == r.command && d.NewWindowState == r.newState &&
                    d.ForgetHotObject == r.forgetHot) << "Action " << r.action << ", state " << r.state;
    }
    for (int action : {3, 11, 12}) {
        TTitleActionDecision d = DecideTitleAction(action, Max, false, 40, 50);
        EXPECT_TRUE(d.Kind == K::SystemMenu && d.MenuX == 41 && d.MenuY == 51 && d.NewWindowState == -1) << action;
    }
}

TEST(TitleButtons, SystemMenuSecondOpeningWithinDoubleClickTimeCloses) {
    EXPECT_FALSE(SystemMenuClosesWindow(std::nullopt, 100, 500));  // the first opening, early after boot
    EXPECT_TRUE(SystemMenuClosesWindow(0u, 100, 500));
    EXPECT_TRUE(SystemMenuClosesWindow(1000u, 1500, 500));
    EXPECT_FALSE(SystemMenuClosesWindow(1000u, 1501, 500));
    // Across the tick count's wrap: 512 ms apart.
    EXPECT_FALSE(SystemMenuClosesWindow(0xFFFFFF00u, 0x100, 500));
    EXPECT_TRUE(SystemMenuClosesWindow(0xFFFFFF00u, 0x100, 512));
}

TEST(TitleButtons, NonClientItemStates) {
    using E = TNCEvent;
    constexpr int Nm = kNCNormal, Pr = kNCPressed, Ht = kNCHot;
    struct Row { E e; bool visible; int state; bool isHot, otherHot; TNCTransition want; };
    const Row rows[] = {
        {E::MouseDown, true, Ht, true, false, {true, false, 0, Pr}},
        {E::MouseDown, true, Nm, false, true, {true, true, +1, Pr}},
        {E::MouseDown, true, Nm, false, false, {true, false, +1, Pr}},
        {E::MouseUp, true, Pr, true, false, {true, false, 0, Ht}},
        {E::MouseMove, true, Nm, false, true, {true, true, +1, Ht}},
        {E::MouseMove, true, Pr, true, false, {false, false, 0, Pr}},  // already hot: nothing
        {E::Leave, true, Ht, true, false, {true, false, -1, Nm}},
        {E::Leave, true, Pr, false, true, {true, false, 0, Nm}},  // keeps the other item hot
        {E::MouseDown, false, Nm, false, true, {false, false, 0, Nm}}, {E::Leave, false, Ht, true, false, {false, false, 0, Ht}},
    };
    for (const Row& r : rows) {
        TNCTransition t = NCObjectTransition(r.e, r.visible, r.state, r.isHot, r.otherHot);
        EXPECT_TRUE(t.Acts == r.want.Acts && t.OtherHotLeaves == r.want.OtherHotLeaves && t.Hot == r.want.Hot &&
                    t.State == r.want.State) << "row " << (&r - rows);
    }
}
