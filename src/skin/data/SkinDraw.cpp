#include "skin/data/SkinDraw.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kt {

namespace {

int Clamp(std::int64_t v, int lo, int hi) { return int(v < lo ? lo : (v > hi ? hi : v)); }

TRectI Offset(TRectI r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }

// The pixels of dst under the rectangle, so a composition can start from what is there.
TBitmap32 CopyOut(ConstPixelView dst, const TRectI& r) {
    TBitmap32 out(r.Width(), r.Height(), kMagenta);
    TRectI in{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, dst.Width), std::min(r.Bottom, dst.Height)};
    for (int y = in.Top; y < in.Bottom; ++y)
        std::memcpy(out.Row(y - r.Top) + (in.Left - r.Left), dst.Row(y) + in.Left,
                    sizeof(Pixel) * std::size_t(std::max(0, in.Width())));
    return out;
}

}  // namespace

TRectI FrameRect(int w, int h, bool stacked, int count, int frame) {
    if (w <= 0 || h <= 0) return {};
    if (count < 1) count = 1;
    frame = std::clamp(frame, 1, count);
    if (stacked) {
        const int fh = h / count;
        if (fh <= 0) return {};
        return {0, (frame - 1) * fh, w, frame * fh};
    }
    const int fw = w / count;
    if (fw <= 0) return {};
    return {(frame - 1) * fw, 0, frame * fw, h};
}

ConstPixelView SubView(ConstPixelView v, const TRectI& r) {
    return {v.Bits + std::ptrdiff_t(r.Top) * v.Stride + r.Left, r.Width(), r.Height(), v.Stride};
}

void StretchCopy(PixelView dst, const TRectI& d, ConstPixelView src, const TRectI& s) {
    if (d.IsEmpty() || s.IsEmpty() || !dst.Bits || !src.Bits || src.Width <= 0 || src.Height <= 0) return;
    const int x0 = std::max(d.Left, 0), x1 = std::min(d.Right, dst.Width);
    const int y0 = std::max(d.Top, 0), y1 = std::min(d.Bottom, dst.Height);
    if (x0 >= x1 || y0 >= y1) return;
    const std::int64_t dw = d.Width(), dh = d.Height(), sw = s.Width(), sh = s.Height();
    const int n = x1 - x0;
    // Sample at the centre of each target pixel.
    const int first = Clamp(s.Left + (2 * std::int64_t(x0 - d.Left) + 1) * sw / (2 * dw), 0, src.Width - 1);
    const int last = Clamp(s.Left + (2 * std::int64_t(x1 - 1 - d.Left) + 1) * sw / (2 * dw), 0, src.Width - 1);
    const bool straight = sw == dw && last - first == n - 1;
    std::vector<int> xs;
    if (!straight) {
        xs.resize(std::size_t(n));
        for (int k = 0; k < n; ++k)
            xs[std::size_t(k)] =
                Clamp(s.Left + (2 * std::int64_t(x0 + k - d.Left) + 1) * sw / (2 * dw), 0, src.Width - 1);
    }
    for (int y = y0; y < y1; ++y) {
        const int sy = Clamp(s.Top + (2 * std::int64_t(y - d.Top) + 1) * sh / (2 * dh), 0, src.Height - 1);
        const Pixel* sr = src.Row(sy);
        Pixel* dr = dst.Row(y) + x0;
        if (straight) {
            std::memcpy(dr, sr + first, sizeof(Pixel) * std::size_t(n));
        } else {
            for (int k = 0; k < n; ++k) dr[k] = sr[xs[std::size_t(k)]];
        }
    }
}

void TileCopy(PixelView dst, const TRectI& d, ConstPixelView src, const TRectI& s0) {
    if (d.IsEmpty() || !dst.Bits || !src.Bits) return;
    const TRectI s{std::max(s0.Left, 0), std::max(s0.Top, 0), std::min(s0.Right, src.Width),
                   std::min(s0.Bottom, src.Height)};
    if (s.IsEmpty()) return;
    const int x0 = std::max(d.Left, 0), x1 = std::min(d.Right, dst.Width);
    const int y0 = std::max(d.Top, 0), y1 = std::min(d.Bottom, dst.Height);
    if (x0 >= x1 || y0 >= y1) return;
    const int sw = s.Width(), sh = s.Height();
    for (int y = y0; y < y1; ++y) {
        const Pixel* sr = src.Row(s.Top + (y - d.Top) % sh) + s.Left;
        Pixel* dr = dst.Row(y);
        int x = x0;
        int off = (x0 - d.Left) % sw;
        while (x < x1) {
            const int n = std::min(sw - off, x1 - x);
            std::memcpy(dr + x, sr + off, sizeof(Pixel) * std::size_t(n));
            x += n;
            off = 0;
        }
    }
}

void TransparentCopy(PixelView dst, int x, int y, ConstPixelView src, Pixel key) {
    key &= kRgbMask;
    const int sx0 = std::max(0, -x), sy0 = std::max(0, -y);
    const int sx1 = std::min(src.Width, dst.Width - x), sy1 = std::min(src.Height, dst.Height - y);
    for (int sy = sy0; sy < sy1; ++sy) {
        const Pixel* sr = src.Row(sy);
        Pixel* dr = dst.Row(sy + y) + x;
        for (int sx = sx0; sx < sx1; ++sx)
            if ((sr[sx] & kRgbMask) != key) dr[sx] = sr[sx];
    }
}

void OpaqueCopy(PixelView dst, int x, int y, ConstPixelView src) {
    const int sx0 = std::max(0, -x), sy0 = std::max(0, -y);
    const int sx1 = std::min(src.Width, dst.Width - x), sy1 = std::min(src.Height, dst.Height - y);
    if (sx0 >= sx1) return;
    for (int sy = sy0; sy < sy1; ++sy)
        std::memcpy(dst.Row(sy + y) + x + sx0, src.Row(sy) + sx0, sizeof(Pixel) * std::size_t(sx1 - sx0));
}

void FillRect(PixelView dst, const TRectI& r, Pixel p) {
    const int x0 = std::max(r.Left, 0), x1 = std::min(r.Right, dst.Width);
    const int y0 = std::max(r.Top, 0), y1 = std::min(r.Bottom, dst.Height);
    for (int y = y0; y < y1; ++y) std::fill(dst.Row(y) + x0, dst.Row(y) + std::max(x0, x1), p);
}

void ComposeNinePiece(PixelView dst, int x, int y, int W, int H, ConstPixelView image, const TMargins& m,
                      bool stacked, bool tile, int count, int frame) {
    if (W <= 0 || H <= 0) return;
    const TRectI fr = FrameRect(image.Width, image.Height, stacked, count, frame);
    if (fr.IsEmpty()) return;
    const ConstPixelView f = SubView(image, fr);
    const int FW = f.Width, FH = f.Height;
    std::int64_t l = std::max(m.Left, 0), t = std::max(m.Top, 0), r = std::max(m.Right, 0), b = std::max(m.Bottom, 0);
    if (W < l + r) l = r = 0;
    if (H < t + b) t = b = 0;
    const int L = int(l), T = int(t), R = int(r), B = int(b);
    auto piece = [&](TRectI to, TRectI from) { StretchCopy(dst, Offset(to, x, y), f, from); };
    if (L > 0 && T > 0) piece({0, 0, L, T}, {0, 0, L, T});
    if (L > 0 && B > 0) piece({0, H - B, L, H}, {0, FH - B, L, FH});
    if (R > 0 && T > 0) piece({W - R, 0, W, T}, {FW - R, 0, FW, T});
    if (L > 0) piece({0, T, L, H - B}, {0, T, L, FH - B});
    if (T > 0) piece({L, 0, W - R, T}, {L, 0, FW - R, T});
    const TRectI centreFrom{L, T, FW - R, FH - B}, centreTo{L, T, W - R, H - B};
    if (tile)
        TileCopy(dst, Offset(centreTo, x, y), f, centreFrom);
    else
        piece(centreTo, centreFrom);
    if (R > 0 && B > 0) piece({W - R, H - B, W, H}, {FW - R, FH - B, FW, FH});
    if (R > 0) piece({W - R, T, W, H - B}, {FW - R, T, FW, FH - B});
    if (B > 0) piece({L, H - B, W - R, H}, {L, FH - B, FW - R, FH});
}

TBitmap32 BuildNinePiece(const TBitmap32& image, const TMargins& margins, bool stacked, bool tile, int count,
                         int frame, int W, int H) {
    TBitmap32 out;
    if (W <= 0 || H <= 0) return out;
    out.SetSize(W, H);
    ComposeNinePiece(out.View(), 0, 0, W, H, image.View(), margins, stacked, tile, count, frame);
    return out;
}

void DrawNinePiece(PixelView dst, const TRectI& rect, const TBitmap32& image, const TMargins& margins, bool stacked,
                   bool tile, int count, int frame, bool transparent) {
    if (rect.IsEmpty() || image.Empty()) return;
    if (!transparent) {
        // Straight onto the target, clipped to the rectangle by composing into a view of it.
        const TRectI in{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, dst.Width),
                        std::min(rect.Bottom, dst.Height)};
        if (in.IsEmpty()) return;
        if (in == rect) {
            ComposeNinePiece(dst, rect.Left, rect.Top, rect.Width(), rect.Height(), image.View(), margins, stacked,
                             tile, count, frame);
            return;
        }
    }
    TBitmap32 piece = BuildNinePiece(image, margins, stacked, tile, count, frame, rect.Width(), rect.Height());
    if (transparent)
        TransparentCopy(dst, rect.Left, rect.Top, piece.View());
    else
        OpaqueCopy(dst, rect.Left, rect.Top, piece.View());
}

void DrawThreePiece(PixelView dst, const TRectI& rect, const TBitmap32& image, bool stacked, bool transparent,
                    int count, int frame, int capLeft, int capRight) {
    if (rect.IsEmpty() || image.Empty()) return;
    const TRectI fr = FrameRect(image.Width(), image.Height(), stacked, count, frame);
    if (fr.IsEmpty()) return;
    const ConstPixelView f = SubView(image.View(), fr);
    const int W = rect.Width(), H = rect.Height(), FW = f.Width, FH = f.Height;
    const int L = std::max(capLeft, 0), R = std::max(capRight, 0);
    // Composed over a copy of the target, so what the pieces leave undrawn stays as it was.
    TBitmap32 comp = CopyOut(dst, rect);
    PixelView c = comp.View();
    if (L > 0) StretchCopy(c, {0, 0, L, H}, f, {0, 0, L, FH});
    const int M = FW - L - R;
    if (M > 0)
        for (std::int64_t x = L; x < std::int64_t(W) - R; x += M)
            StretchCopy(c, {int(x), 0, int(x) + M, H}, f, {L, 0, L + M, FH});
    if (R > 0) StretchCopy(c, {W - R, 0, W, H}, f, {FW - R, 0, FW, FH});
    if (transparent)
        TransparentCopy(dst, rect.Left, rect.Top, comp.View());
    else
        OpaqueCopy(dst, rect.Left, rect.Top, comp.View());
}

void DrawSingleFrame(PixelView dst, const TRectI& rect, const TBitmap32& image, bool transparent, int count,
                     int frame) {
    if (rect.IsEmpty() || image.Empty()) return;
    const TRectI fr = FrameRect(image.Width(), image.Height(), false, count, frame);
    if (fr.IsEmpty()) return;
    if (!transparent) {
        StretchCopy(dst, rect, image.View(), fr);
        return;
    }
    TBitmap32 comp(rect.Width(), rect.Height());
    StretchCopy(comp.View(), {0, 0, rect.Width(), rect.Height()}, image.View(), fr);
    TransparentCopy(dst, rect.Left, rect.Top, comp.View());
}

std::vector<TRectI> RegionRuns(ConstPixelView img, int xo, int yo, Pixel key, int dR, int dG, int dB) {
    const int kr = PixelR(key), kg = PixelG(key), kb = PixelB(key);
    const int rHi = std::min(255, kr + std::max(dR, 0)), gHi = std::min(255, kg + std::max(dG, 0)),
              bHi = std::min(255, kb + std::max(dB, 0));
    auto isKey = [&](Pixel p) {
        const int r = PixelR(p), g = PixelG(p), b = PixelB(p);
        return r >= kr && r <= rHi && g >= kg && g <= gHi && b >= kb && b <= bHi;
    };
    std::vector<TRectI> runs;
    for (int y = 0; y < img.Height; ++y) {
        const Pixel* row = img.Row(y);
        int x = 0;
        while (x < img.Width) {
            while (x < img.Width && isKey(row[x])) ++x;
            if (x >= img.Width) break;
            const int start = x;
            while (x < img.Width && !isKey(row[x])) ++x;
            runs.push_back({start + xo, y + yo, x + xo, y + yo + 1});
        }
    }
    return runs;
}

void KeyFromTwoBackgrounds(PixelView onWhite, ConstPixelView onBlack) {
    const int w = std::min(onWhite.Width, onBlack.Width), h = std::min(onWhite.Height, onBlack.Height);
    for (int y = 0; y < h; ++y) {
        Pixel* out = onWhite.Row(y);
        const Pixel* black = onBlack.Row(y);
        for (int x = 0; x < w; ++x) {
            const Pixel a = out[x], b = black[x];
            // Over white a channel shows c*alpha + 255*(1 - alpha), over black c*alpha.
            const int coverage = 255 - std::clamp(std::max({PixelR(a) - PixelR(b), PixelG(a) - PixelG(b),
                                                            PixelB(a) - PixelB(b)}), 0, 255);
            if (2 * coverage < 255) {
                out[x] = kMagenta;
                continue;
            }
            auto own = [coverage](int c) { return std::min(255, (c * 255 + coverage / 2) / coverage); };
            const int r = own(PixelR(b)), bl = own(PixelB(b));
            int g = own(PixelG(b));
            if (r == 255 && bl == 255 && g <= 1) g = 2;  // the region's key reaches green 1
            out[x] = MakePixel(r, g, bl);
        }
    }
}

TBitmap32 FlipVertical(const TBitmap32& in) {
    TBitmap32 out(in.Width(), in.Height());
    for (int y = 0; y < in.Height(); ++y)
        std::memcpy(out.Row(in.Height() - 1 - y), in.Row(y), sizeof(Pixel) * std::size_t(in.Width()));
    return out;
}

TBitmap32 RotateQuarter(const TBitmap32& in, bool clockwise) {
    const int w = in.Width(), h = in.Height();
    TBitmap32 out(h, w);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (clockwise)
                out.At(h - 1 - y, x) = in.At(x, y);
            else
                out.At(y, w - 1 - x) = in.At(x, y);
        }
    return out;
}

}  // namespace kt
