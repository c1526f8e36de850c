#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "core/DpiScale.h"
#include "skin/data/SkinScale.h"
#include "skin/data/WinSkinData.h"
#include "skingen/BuiltinSkins.h"
#include "skin/data/SkinWriter.h"
#include "skin/data/WinSkinStore.h"

using namespace kt;

namespace {

// A strip of `count` frames, each a solid colour of its own with a one-pixel border of another
// and magenta corners: enough to see frames bleed, margins move and the key colour smear.
TBitmap32 Strip(int fw, int fh, int count) {
    TBitmap32 bm(fw * count, fh);
    for (int k = 0; k < count; ++k)
        for (int y = 0; y < fh; ++y)
            for (int x = 0; x < fw; ++x) {
                const bool corner = (x == 0 || x == fw - 1) && (y == 0 || y == fh - 1);
                const bool edge = x == 0 || y == 0 || x == fw - 1 || y == fh - 1;
                bm.At(k * fw + x, y) = corner ? kMagenta : edge ? MakePixel(0, 0, 40 * k) : MakePixel(200, 10 * k, 0);
            }
    return bm;
}

TSkinData& Builtin(int index, int ppi) {
    static std::map<std::pair<int, int>, std::unique_ptr<TSkinData>> cache;
    auto& slot = cache[{index, ppi}];
    if (!slot) {
        TSkinStore store;
        store.Store().Add().Data() = PackSkin(MakeBuiltinSkin(index));
        slot = std::make_unique<TSkinData>();
        slot->PixelsPerInch = ppi;
        slot->LoadFromStore(store, 0);
    }
    return *slot;
}

}  // namespace

TEST(SkinScale, WholeFactorRepeatsEachPixel) {
    const TBitmap32 src = Strip(7, 5, 3);
    const TBitmap32 out = ScaleSkinPicture(src, {false, 3, {1, 1, 1, 1}}, 192);
    ASSERT_EQ(out.Width(), 42);
    ASSERT_EQ(out.Height(), 10);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) ASSERT_EQ(out.At(x, y), src.At(x / 2, y / 2)) << x << "," << y;
    EXPECT_EQ(ScaleSkinPicture(src, {false, 3, {}}, 96), src);
}

TEST(SkinScale, OtherFactorsKeepFramesMarginsAndTheKeyApart) {
    struct Case {
        bool stacked;
        int ppi, frame;  // the scaled frame's side
    } cases[] = {{false, 144, 15}, {false, 120, 13}, {true, 144, 15}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ppi);
        const TBitmap32 side = Strip(10, 10, 4);
        TBitmap32 src = side;
        if (c.stacked) src = RotateQuarter(side, true);  // frames one below the other
        const TBitmap32 out = ScaleSkinPicture(src, {c.stacked, 4, {1, 1, 1, 1}}, c.ppi);
        ASSERT_EQ(c.stacked ? out.Height() : out.Width(), 4 * c.frame);
        ASSERT_EQ(c.stacked ? out.Width() : out.Height(), c.frame);
        for (int k = 0; k < 4; ++k) {
            const int x0 = c.stacked ? 0 : k * c.frame, y0 = c.stacked ? k * c.frame : 0;
            // Corners stay transparent; the middle is the frame's own colour, not its neighbour's.
            EXPECT_EQ(out.At(x0, y0), kMagenta) << k;
            const Pixel middle = out.At(x0 + c.frame / 2, y0 + c.frame / 2);
            EXPECT_EQ(middle, src.At(c.stacked ? 5 : k * 10 + 5, c.stacked ? k * 10 + 5 : 5)) << k;
            // The one-pixel border stays whole (its scaled width, 1 pixel) and unmixed.
            EXPECT_EQ(out.At(x0 + c.frame / 2, y0), src.At(c.stacked ? 5 : k * 10 + 5, c.stacked ? k * 10 : 0)) << k;
            const int border = ScaleToDpi(1, c.ppi);  // 1 at 120, 2 at 144
            EXPECT_NE(out.At(x0 + border - 1, y0 + c.frame / 2), middle) << k;
            EXPECT_EQ(out.At(x0 + border, y0 + c.frame / 2), middle) << k;
        }
        // No pixel is near-magenta but not magenta: the frame's region would cut it out.
        for (int y = 0; y < out.Height(); ++y)
            for (int x = 0; x < out.Width(); ++x) {
                const Pixel p = out.At(x, y);
                if (p != kMagenta) ASSERT_FALSE(PixelR(p) == 255 && PixelB(p) == 255 && PixelG(p) <= 1);
            }
    }
}

TEST(SkinScale, SmoothStretchAveragesAndKeysOnMagenta) {
    TBitmap32 src(2, 1);
    src.At(0, 0) = MakePixel(0, 0, 0);
    src.At(1, 0) = MakePixel(200, 100, 50);
    TBitmap32 dst(3, 1, 7);
    SmoothStretch(dst.View(), {0, 0, 3, 1}, src.View(), {0, 0, 2, 1});
    EXPECT_EQ(dst.At(0, 0), MakePixel(0, 0, 0));
    EXPECT_EQ(dst.At(1, 0), MakePixel(100, 50, 25));  // half of each
    EXPECT_EQ(dst.At(2, 0), MakePixel(200, 100, 50));
    // Mostly key: key; partly key: the other colours only, never a pinkish mix.
    src.At(0, 0) = kMagenta;
    SmoothStretch(dst.View(), {0, 0, 3, 1}, src.View(), {0, 0, 2, 1});
    EXPECT_EQ(dst.At(0, 0), kMagenta);
    EXPECT_EQ(dst.At(1, 0), MakePixel(200, 100, 50));
    // A source rectangle outside the picture draws nothing.
    TBitmap32 d2(2, 2, 9);
    SmoothStretch(d2.View(), {0, 0, 2, 2}, src.View(), {0, 0, 3, 1});
    EXPECT_EQ(d2.At(0, 0), 9u);
}

TEST(SkinScale, BuiltinSkinsAtEachResolution) {
    for (int index = 0; index < kBuiltinSkinCount; ++index) {
        SCOPED_TRACE(index);
        const TSkinData& at96 = Builtin(index, 96);
        // 96 reads exactly as an unscaled skin.
        TSkinStore store;
        store.Store().Add().Data() = PackSkin(MakeBuiltinSkin(index));
        TSkinData plain;
        plain.LoadFromStore(store, 0);
        const auto e96 = at96.Elements(), ePlain = plain.Elements();
        ASSERT_EQ(e96.size(), ePlain.size());
        for (std::size_t i = 0; i < e96.size(); ++i) EXPECT_TRUE(e96[i]->Image == ePlain[i]->Image) << e96[i]->Name;

        for (int ppi : {120, 144, 192}) {
            SCOPED_TRACE(ppi);
            const TSkinData& s = Builtin(index, ppi);
            // The caption (the top edge's frame) and the borders grow by the factor.
            const int cap96 = at96.FrameTop->Image.Height() / at96.FrameTop->FrameCount;
            EXPECT_EQ(s.FrameTop->Image.Height() / s.FrameTop->FrameCount, ScaleToDpi(cap96, ppi));
            EXPECT_EQ(s.FrameLeft->Image.Width(), ScaleToDpi(at96.FrameLeft->Image.Width(), ppi));
            EXPECT_EQ(s.FrameTop->LeftWidth, ScaleToDpi(at96.FrameTop->LeftWidth, ppi));
            ASSERT_EQ(s.SysButtons.size(), at96.SysButtons.size());
            for (std::size_t i = 0; i < s.SysButtons.size(); ++i) {
                const auto& a = *at96.SysButtons[i];
                const auto& b = *s.SysButtons[i];
                EXPECT_EQ(b.XCoord, ScaleToDpi(a.XCoord, ppi));
                EXPECT_EQ(b.YCoord, ScaleToDpi(a.YCoord, ppi));
                EXPECT_EQ(b.FrameCount, a.FrameCount);
                if (!a.Image.Empty()) {
                    const int fw = a.Image.Width() / a.FrameCount;
                    EXPECT_EQ(b.Image.Width(), a.FrameCount * ScaleToDpi(fw, ppi));
                    // A title button stays inside the caption it sits in.
                    EXPECT_LE(b.YCoord + b.Image.Height(), s.FrameTop->Image.Height() / s.FrameTop->FrameCount);
                }
            }
            // At 192, each picture is the 96 one with every pixel doubled.
            if (ppi == 192) {
                const auto a = at96.Elements(), b = s.Elements();
                ASSERT_EQ(a.size(), b.size());
                for (std::size_t i = 0; i < a.size(); ++i) {
                    const TBitmap32& pa = a[i]->Image;
                    const TBitmap32& pb = b[i]->Image;
                    const int count = std::max(1, a[i]->FrameCount);
                    // Frame strips whose width divides evenly double exactly.
                    if (pa.Empty() || pa.Width() % count || pa.Height() % count) continue;
                    ASSERT_EQ(pb.Width(), 2 * pa.Width()) << a[i]->Name;
                    ASSERT_EQ(pb.Height(), 2 * pa.Height()) << a[i]->Name;
                    for (int y = 0; y < pb.Height(); y += 3)
                        for (int x = 0; x < pb.Width(); x += 3)
                            ASSERT_EQ(pb.At(x, y), pa.At(x / 2, y / 2)) << a[i]->Name;
                }
            }
        }
    }
}

TEST(SkinScale, CutsAndMarginsAgreeForEveryFrameAndSplit) {
    // A frame in three colours (lead margin, middle, tail margin), as a side border (margins
    // left and right) and as the caption (top and bottom): scaled, each pixel lies in the piece
    // the scaled margins say, the margins fit the frame, and a middle that was there stays.
    const Pixel colour[3] = {MakePixel(200, 0, 0), MakePixel(0, 200, 0), MakePixel(0, 0, 200)};
    for (int ppi : {120, 144, 168})
        for (int size = 1; size <= 64; ++size)
            for (int lead = 0; lead <= size; ++lead)
                for (int tail = 0; lead + tail <= size; ++tail) {
                    TSkinDescription d;
                    d.FrameLeft = std::make_unique<TDataSkinBorder>();
                    d.FrameTop = std::make_unique<TDataSkinBorder>();
                    TDataSkinObject &v = *d.FrameLeft, &h = *d.FrameTop;
                    v.Image = TBitmap32(size, 1), h.Image = TBitmap32(1, size);
                    for (int i = 0; i < size; ++i)
                        v.Image.At(i, 0) = h.Image.At(0, i) = colour[i < lead ? 0 : i < size - tail ? 1 : 2];
                    v.FrameCount = h.FrameCount = 1;
                    v.LeftWidth = h.TopHeight = lead, v.RightWidth = h.BottomHeight = tail;
                    ScaleSkinDescription(d, ppi);
                    const int to = ScaleToDpi(size, ppi), a = v.LeftWidth, b = v.RightWidth;
                    const std::string at = std::to_string(size) + " " + std::to_string(lead) + "+" +
                                           std::to_string(tail) + " at " + std::to_string(ppi);
                    ASSERT_TRUE(v.Image.Width() == to && h.Image.Height() == to && h.TopHeight == a &&
                                h.BottomHeight == b && a + b <= to && (lead + tail < size) == (a + b < to))
                        << at;
                    for (int i = 0; i < to; ++i) {
                        const Pixel want = colour[i < a ? 0 : i < to - b ? 1 : 2];
                        ASSERT_TRUE(v.Image.At(i, 0) == want && h.Image.At(0, i) == want) << at << ", pixel " << i;
                    }
                }
}

TEST(SkinScale, NearMagentaStaysTransparent) {
    // The frame's region leaves (255, <=1, 255) out: averaged with its neighbours it must not
    // become a visible pinkish pixel.
    TBitmap32 src(4, 4, MakePixel(10, 20, 30));
    src.At(0, 0) = src.At(1, 0) = src.At(0, 1) = MakePixel(255, 1, 255);
    EXPECT_EQ(ScaleSkinPicture(src, {false, 1, {}}, 120).At(0, 0), kMagenta);
}
