#include "skin/data/SkinScale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/DpiScale.h"
#include "skin/data/WinSkinData.h"

namespace kt {

namespace {

struct Tap {
    int index;
    std::int64_t weight;
};

// The source pixels under each target pixel along one axis, weighted by how much of the target
// pixel each covers; the weights of one target pixel add up to `from`.
std::vector<std::vector<Tap>> Taps(int to, int from, int first) {
    std::vector<std::vector<Tap>> out(std::size_t(std::max(to, 0)));
    for (int i = 0; i < to; ++i) {
        const std::int64_t lo = std::int64_t(i) * from, hi = std::int64_t(i + 1) * from;
        for (std::int64_t j = lo / to; j * to < hi; ++j) {
            const std::int64_t w = std::min(hi, (j + 1) * to) - std::max(lo, j * to);
            if (w > 0) out[std::size_t(i)].push_back({first + int(j), w});
        }
    }
    return out;
}

// Near enough to magenta that the frame's region takes it as transparent.
bool LooksTransparent(int r, int g, int b) { return r == 255 && b == 255 && g <= 1; }
bool LooksTransparent(Pixel p) { return LooksTransparent(PixelR(p), PixelG(p), PixelB(p)); }

// Where one side of a frame is cut, before and after scaling: 0, lead, size - tail, size.
struct Cuts {
    int at[4];
};
Cuts SourceCuts(int size, int lead, int tail) {
    lead = std::clamp(lead, 0, size);
    tail = std::clamp(tail, 0, size - lead);
    return {{0, lead, size - tail, size}};
}
Cuts TargetCuts(const TScaledSpan& s) { return {{0, s.Lead, s.Size - s.Tail, s.Size}}; }

void ScaleFrame(PixelView dst, const TRectI& to, ConstPixelView src, const TRectI& from, const TMargins& m,
                const TMargins& scaled, bool whole) {
    const Cuts sx = SourceCuts(from.Width(), m.Left, m.Right), sy = SourceCuts(from.Height(), m.Top, m.Bottom);
    const Cuts tx = TargetCuts({to.Width(), scaled.Left, scaled.Right});
    const Cuts ty = TargetCuts({to.Height(), scaled.Top, scaled.Bottom});
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const TRectI s{from.Left + sx.at[col], from.Top + sy.at[row], from.Left + sx.at[col + 1],
                           from.Top + sy.at[row + 1]};
            const TRectI d{to.Left + tx.at[col], to.Top + ty.at[row], to.Left + tx.at[col + 1],
                           to.Top + ty.at[row + 1]};
            if (s.IsEmpty() || d.IsEmpty()) continue;
            if (whole) StretchCopy(dst, d, src, s);
            else SmoothStretch(dst, d, src, s);
        }
}

}  // namespace

void SmoothStretch(PixelView dst, const TRectI& d, ConstPixelView src, const TRectI& s) {
    if (d.IsEmpty() || s.IsEmpty() || !dst.Bits || !src.Bits) return;
    if (s.Left < 0 || s.Top < 0 || s.Right > src.Width || s.Bottom > src.Height) return;
    const auto xs = Taps(d.Width(), s.Width(), s.Left);
    const auto ys = Taps(d.Height(), s.Height(), s.Top);
    const std::int64_t total = std::int64_t(s.Width()) * s.Height();
    for (int y = std::max(d.Top, 0); y < std::min(d.Bottom, dst.Height); ++y) {
        Pixel* out = dst.Row(y);
        for (int x = std::max(d.Left, 0); x < std::min(d.Right, dst.Width); ++x) {
            std::int64_t key = 0, r = 0, g = 0, b = 0;
            for (const Tap& ty : ys[std::size_t(y - d.Top)]) {
                const Pixel* in = src.Row(ty.index);
                for (const Tap& tx : xs[std::size_t(x - d.Left)]) {
                    const std::int64_t w = ty.weight * tx.weight;
                    const Pixel p = in[tx.index] & kRgbMask;
                    if (p == kMagenta || LooksTransparent(p)) {
                        key += w;
                        continue;
                    }
                    r += w * PixelR(p);
                    g += w * PixelG(p);
                    b += w * PixelB(p);
                }
            }
            const std::int64_t seen = total - key;
            if (2 * key > total || seen <= 0) {
                out[x] = kMagenta;
                continue;
            }
            int R = int((r + seen / 2) / seen), G = int((g + seen / 2) / seen), B = int((b + seen / 2) / seen);
            if (LooksTransparent(R, G, B)) R = 254;
            out[x] = MakePixel(R, G, B);
        }
    }
}

TMargins ScaleMargins(const TMargins& m, int frameWidth, int frameHeight, int ppi) {
    const TScaledSpan x = ScaleSpan(frameWidth, m.Left, m.Right, ppi);
    const TScaledSpan y = ScaleSpan(frameHeight, m.Top, m.Bottom, ppi);
    return {x.Lead, y.Lead, x.Tail, y.Tail};
}

TBitmap32 ScaleSkinPicture(const TBitmap32& image, const TPictureLayout& layout, int ppi, TMargins* scaledMargins) {
    ppi = SanePixelsPerInch(ppi);
    const int count = std::max(1, layout.Count);
    const int fw = layout.Stacked ? image.Width() : image.Width() / count;
    const int fh = layout.Stacked ? image.Height() / count : image.Height();
    const TMargins scaled = ppi == kDesignPixelsPerInch ? layout.Margins : ScaleMargins(layout.Margins, fw, fh, ppi);
    if (scaledMargins) *scaledMargins = scaled;
    if (image.Empty() || ppi == kDesignPixelsPerInch || fw <= 0 || fh <= 0) return image;
    const int tw = std::max(1, ScaleToDpi(fw, ppi)), th = std::max(1, ScaleToDpi(fh, ppi));
    TBitmap32 out(layout.Stacked ? tw : tw * count, layout.Stacked ? th * count : th, kMagenta);
    const bool whole = IsWholeScale(ppi);
    for (int k = 0; k < count; ++k) {
        const TRectI from = layout.Stacked ? TRectI{0, k * fh, fw, (k + 1) * fh} : TRectI{k * fw, 0, (k + 1) * fw, fh};
        const TRectI to = layout.Stacked ? TRectI{0, k * th, tw, (k + 1) * th} : TRectI{k * tw, 0, (k + 1) * tw, th};
        ScaleFrame(out.View(), to, image.View(), from, layout.Margins, scaled, whole);
    }
    return out;
}

void ScaleSkinDescription(TSkinDescription& d, int ppi) {
    ppi = SanePixelsPerInch(ppi);
    if (ppi == kDesignPixelsPerInch) return;
    auto S = [ppi](std::int32_t& v) { v = ScaleToDpi(v, ppi); };
    // A picture and the margins it is cut by: both from one rule (ScaleSpan).
    auto picture = [ppi](TBitmap32& image, bool stacked, int count, const TMargins& m) {
        TMargins scaled;
        image = ScaleSkinPicture(image, {stacked, std::max(1, count), m}, ppi, &scaled);
        return scaled;
    };
    // An element whose frames lie side by side and whose margins cut its pictures.
    auto element = [&](TDataSkinObject* e, bool stacked = false) {
        if (!e) return;
        const TMargins m = picture(e->Image, stacked, e->FrameCount, e->Margins());
        e->LeftWidth = m.Left;
        e->TopHeight = m.Top;
        e->RightWidth = m.Right;
        e->BottomHeight = m.Bottom;
    };

    for (TDataSkinBorder* edge : {d.FrameLeft.get(), d.FrameRight.get()}) element(edge);
    for (TDataSkinBorder* edge : {d.FrameTop.get(), d.FrameBottom.get()}) element(edge, true);

    if (TDataSkinTitle* t = d.Title.get()) {
        const TMargins m = picture(t->Image, true, 2, {t->TextBackLeft, 0, t->TextBackRight, 0});
        t->TextBackLeft = m.Left;
        t->TextBackRight = m.Right;
        // The title's four edge fields are the text's shifts and right clip, not cuts.
        S(t->LeftWidth);
        S(t->TopHeight);
        S(t->RightWidth);
        S(t->BottomHeight);
        S(t->FontHeight);
    }
    for (auto& b : d.SysButtons) {
        if (!b) continue;
        picture(b->Image, false, b->FrameCount, {});
        S(b->XCoord);
        S(b->YCoord);
    }
    if (TDataSkinButton* b = d.Buttons.get()) {
        picture(b->CheckImage, false, b->CheckFrameCount, {});
        picture(b->RadioImage, false, b->RadioFrameCount, {});
        element(b);
    }
    if (d.MenuBar) element(d.MenuBar.get(), true);
    // The second pictures: the tab page's border (drawn with margins 4, 5, 4, 4), the progress
    // chunk (one frame) and the up-down glyphs (as many frames as their buttons).
    if (d.Tabs) picture(d.Tabs->Image2, false, 1, {4, 5, 4, 4});
    if (d.Progress) picture(d.Progress->Image2, false, 1, {});
    for (TDataSkinBorder* e : {d.UpDownHorz.get(), d.UpDownVert.get()})
        if (e) picture(e->Image2, false, e->FrameCount, {});
    for (TDataSkinObject* e :
         std::initializer_list<TDataSkinObject*>{d.Tabs.get(), d.Progress.get(), d.UpDownHorz.get(), d.UpDownVert.get(),
                                                 d.ComboButton.get(), d.SunkEdge.get(), d.ExtraImages.get(),
                                                 d.GroupBoxEdge.get(), d.Toolbars.get(), d.StatusBarEdges.get(),
                                                 d.Headerbar.get(), d.MenuItem.get(), d.MenuBackground.get(),
                                                 d.Scrollbar.get(), d.HorzScroll.get(), d.VertScroll.get(),
                                                 d.HorzScrollThumb.get(), d.VertScrollThumb.get()})
        element(e);
}

}  // namespace kt
