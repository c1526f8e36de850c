#include <gtest/gtest.h>

#include "skingen/BuiltinSkins.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinUsability.h"
#include "skin/data/SkinWriter.h"
#include "skin/data/WinSkinData.h"
#include "skin/data/WinSkinStore.h"

using namespace kt;

namespace {

// The store as the program carries it: the three skins packed, saved and read back.
const TSkinStore& BuiltinStore() {
    static TSkinStore* store = [] {
        TSkinStore made;
        for (int i = 0; i < kBuiltinSkinCount; ++i) made.Store().Add().Data() = PackSkin(MakeBuiltinSkin(i));
        std::vector<std::uint8_t> bytes;
        made.SaveToStream(bytes);
        auto* back = new TSkinStore;
        EXPECT_TRUE(back->LoadFromStream(bytes));
        return back;
    }();
    return *store;
}

void ExpectFrames(const TDataSkinObject* e, int count, bool stacked = false) {
    ASSERT_NE(e, nullptr);
    SCOPED_TRACE(e->Name);
    EXPECT_FALSE(e->Image.Empty());
    EXPECT_EQ(e->FrameCount, count);
    if (stacked)
        EXPECT_EQ(e->Image.Height() % count, 0);
    else
        EXPECT_EQ(e->Image.Width() % count, 0);
}

}  // namespace

// Each built-in skin dresses every kind the program skins in every state its painter shows
// (buttons: normal, pressed, disabled, hot, default; up-down: four per arrow; ...): a frame
// count below these would let a state fall back to frame 1, an element missing would leave
// the kind to the system. Sizes are the skin's own business and are not pinned here.
TEST(BuiltinSkins, EachLoadsIntoACompleteModel) {
    const TSkinStore& store = BuiltinStore();
    ASSERT_EQ(store.Store().Count(), 3);
    const char* names[] = {"Blue", "Silver", "Green"};
    TSkinData d;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i]);
        d.LoadFromStore(store, i);
        ASSERT_FALSE(d.Reloading());
        EXPECT_EQ(d.SkinName, names[i]);
        for (auto* edge : {d.FrameLeft.get(), d.FrameRight.get()}) ExpectFrames(edge, 2);
        for (auto* edge : {d.FrameTop.get(), d.FrameBottom.get()}) ExpectFrames(edge, 2, true);
        EXPECT_GE(d.FrameTop->Image.Height() / 2, kMinCaptionHeight);  // room for the title
        ExpectFrames(d.Title.get(), 2, true);
        EXPECT_EQ(d.Title->TextBackground, 1);
        EXPECT_NE(d.Title->ActiveTextColour, kNoTitleColour);
        EXPECT_NE(d.Title->InactiveTextColour, kNoTitleColour);
        ExpectFrames(d.Buttons.get(), 5);
        EXPECT_EQ(d.Buttons->CheckFrameCount, 4);
        EXPECT_EQ(d.Buttons->RadioFrameCount, 4);
        EXPECT_EQ(d.Buttons->CheckImage.Width() % 4, 0);
        EXPECT_EQ(d.Buttons->RadioImage.Width() % 4, 0);
        ExpectFrames(d.Tabs.get(), 5);
        EXPECT_FALSE(d.Tabs->Image2.Empty());
        ExpectFrames(d.Progress.get(), 2);
        EXPECT_FALSE(d.Progress->Image2.Empty());
        ExpectFrames(d.UpDownHorz.get(), 8);
        ExpectFrames(d.UpDownVert.get(), 8);
        EXPECT_FALSE(d.UpDownHorz->Image2.Empty());
        EXPECT_FALSE(d.UpDownVert->Image2.Empty());
        ExpectFrames(d.ComboButton.get(), 4);
        ExpectFrames(d.SunkEdge.get(), 4);
        ExpectFrames(d.ExtraImages.get(), 5);
        ExpectFrames(d.GroupBoxEdge.get(), 2);
        ExpectFrames(d.Toolbars.get(), 5);
        ExpectFrames(d.StatusBarEdges.get(), 3);
        ExpectFrames(d.Headerbar.get(), 5);
        ExpectFrames(d.MenuBar.get(), 2, true);
        ExpectFrames(d.MenuItem.get(), 5);
        ExpectFrames(d.MenuBackground.get(), 1);
        ExpectFrames(d.Scrollbar.get(), 23);
        ExpectFrames(d.HorzScroll.get(), 4);
        ExpectFrames(d.VertScroll.get(), 4);
        ExpectFrames(d.HorzScrollThumb.get(), 3);
        ExpectFrames(d.VertScrollThumb.get(), 3);
        // Close, maximise, restore, minimise, the system menu (window icon), then the MDI buttons.
        ASSERT_EQ(d.SysButtons.size(), 5u + 3u);
        const int actions[] = {0, 1, 1, 2, 3, 7, 8, 9};
        for (std::size_t k = 0; k < d.SysButtons.size(); ++k) {
            const auto& b = *d.SysButtons[k];
            EXPECT_EQ(b.Action, actions[k]);
            EXPECT_EQ(b.Image.Empty(), b.Action == 3) << k;
            if (b.Action != 3) EXPECT_EQ(b.Image.Width() % b.FrameCount, 0);
        }
        EXPECT_EQ(d.SysButtons[0]->FrameCount, 4);
        // Every colour is the skin's own, none left to the system.
        for (TColour c : {d.WindowText, d.ButtonFace, d.ButtonText, d.Hilight, d.HilightText, d.Menu, d.MenuText,
                          d.Menubar, d.MenuBarText, d.TitleTextActive, d.TitleTextNoActive, d.ScrollbarColour})
            EXPECT_GE(c, 0);
    }
}

TEST(BuiltinSkins, FramesHaveRoundTransparentTopCornersOnly) {
    TSkinData d;
    d.LoadFromStore(BuiltinStore(), 0);
    // The left edge of a 300 x 200 window: its top-left pixel is cut away, its bottom-left is not.
    const auto& left = *d.FrameLeft;
    ASSERT_EQ(left.Trans, 1);
    TBitmap32 edge = BuildNinePiece(left.Image, left.Margins(), false, left.Tile != 1, left.FrameCount, 1,
                                    left.Image.Width() / 2, 200);
    auto runs = RegionRuns(edge.View(), 0, 0);
    ASSERT_FALSE(runs.empty());
    EXPECT_GT(runs.front().Left, 0);   // row 0 starts right of the corner
    EXPECT_EQ(runs.back().Left, 0);    // the last row is whole
    EXPECT_EQ(runs.back().Top, 199);
    // No picture holds magenta except where it is meant to be transparent: the middle of the
    // caption is opaque.
    const auto& top = *d.FrameTop;
    TBitmap32 caption = BuildNinePiece(top.Image, top.Margins(), true, top.Tile != 1, 2, 1, 300, 26);
    for (int y = 0; y < 26; ++y) EXPECT_NE(caption.At(150, y), kMagenta);
}
