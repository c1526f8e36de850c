// Prints how long the skin engine's raster work takes next to a plain copy of the same number
// of pixels in the same run, as ratios:
//  - a 1920 x 1080 window frame: the four edges, the caption included, by the nine-piece builder;
//  - the region of a 1920-pixel caption (its row runs);
//  - loading each built-in skin from the store into a complete model (beside copying its bytes).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "skingen/BuiltinSkins.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinWriter.h"
#include "skin/data/WinSkinData.h"
#include "skin/data/WinSkinStore.h"

using namespace kt;
using Clock = std::chrono::steady_clock;

namespace {

volatile std::uint32_t g_sink;

// Median of several rounds, each long enough to be measured, in microseconds per call.
double Time(const std::function<void()>& f) {
    int reps = 1;
    for (;;) {
        const auto t0 = Clock::now();
        for (int i = 0; i < reps; ++i) f();
        const double us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
        if (us > 20000 || reps > (1 << 20)) break;
        reps *= 2;
    }
    std::vector<double> rounds;
    for (int r = 0; r < 7; ++r) {
        const auto t0 = Clock::now();
        for (int i = 0; i < reps; ++i) f();
        rounds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / reps);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

void Row(const char* what, double ours, const char* baseName, double base) {
    std::printf("%-44s %10.1f us   %-28s %10.1f us   ratio %6.2f\n", what, ours, baseName, base, ours / base);
}

int EdgeSize(const TDataSkinObject& e, bool stacked) {
    return stacked ? e.Image.Height() / std::max(1, e.FrameCount) : e.Image.Width() / std::max(1, e.FrameCount);
}

}  // namespace

int main() {
    TSkinStore store;
    for (int i = 0; i < kBuiltinSkinCount; ++i) store.Store().Add().Data() = PackSkin(MakeBuiltinSkin(i));

    std::printf("Skin drawing (nine-piece builder, nearest-neighbour stretch) against plain pixel copies\n\n");
    TSkinData d;
    d.LoadFromStore(store, 0);
    const int W = 1920, H = 1080;
    const int L = EdgeSize(*d.FrameLeft, false), R = EdgeSize(*d.FrameRight, false);
    const int C = EdgeSize(*d.FrameTop, true), B = EdgeSize(*d.FrameBottom, true);
    auto build = [&](const TDataSkinBorder& e, bool stacked, int w, int h) {
        return BuildNinePiece(e.Image, e.Margins(), stacked, e.Tile != 1, e.FrameCount, 1, w, h);
    };
    const std::int64_t framePixels = std::int64_t(L) * H + std::int64_t(R) * H + std::int64_t(W - L - R) * (B + C);
    std::vector<Pixel> from(std::size_t(W) * H, 0x123456), to(std::size_t(W) * H);
    auto copy = [&](std::int64_t pixels) {
        return [&, pixels] {
            std::memcpy(to.data(), from.data(), sizeof(Pixel) * std::size_t(pixels));
            g_sink = to[std::size_t(pixels) - 1];
        };
    };

    const double frame = Time([&] {
        TBitmap32 l = build(*d.FrameLeft, false, L, H), r = build(*d.FrameRight, false, R, H);
        TBitmap32 b = build(*d.FrameBottom, true, W - L - R, B), t = build(*d.FrameTop, true, W - L - R, C);
        g_sink = l.At(0, 0) ^ r.At(0, 0) ^ b.At(0, 0) ^ t.At(0, 0);
    });
    char label[96];
    std::snprintf(label, sizeof label, "1920x1080 frame, 4 edges (%lld px)", static_cast<long long>(framePixels));
    Row(label, frame, "plain copy, same pixels", Time(copy(framePixels)));

    TBitmap32 caption = build(*d.FrameTop, true, W, C);
    const double region = Time([&] { g_sink = std::uint32_t(RegionRuns(caption.View(), 0, 0).size()); });
    std::snprintf(label, sizeof label, "region of a 1920x%d caption (%zu runs)", C, RegionRuns(caption.View(), 0, 0).size());
    Row(label, region, "plain copy, same pixels", Time(copy(std::int64_t(W) * C)));

    TBitmap32 full(W, H);
    const double tiled = Time([&] {
        ComposeNinePiece(full.View(), 0, 0, W, H, d.MenuBackground->Image.View(), d.MenuBackground->Margins(), false,
                         true, 1, 1);
        g_sink = full.At(W / 2, H / 2);
    });
    Row("1920x1080 nine-piece, tiled centre", tiled, "plain copy, same pixels", Time(copy(std::int64_t(W) * H)));
    const double stretched = Time([&] {
        ComposeNinePiece(full.View(), 0, 0, W, H, d.MenuBackground->Image.View(), d.MenuBackground->Margins(), false,
                         false, 1, 1);
        g_sink = full.At(W / 2, H / 2);
    });
    Row("1920x1080 nine-piece, stretched centre", stretched, "plain copy, same pixels", Time(copy(std::int64_t(W) * H)));

    std::printf("\nLoading each built-in skin from the store into a complete model\n\n");
    for (int i = 0; i < kBuiltinSkinCount; ++i) {
        TSkinData s;
        const double load = Time([&] { s.LoadFromStore(store, i); });
        const std::vector<std::uint8_t>& bytes = store.Store()[i].Data();
        std::vector<std::uint8_t> dst(bytes.size());
        const double plain = Time([&] {
            std::memcpy(dst.data(), bytes.data(), bytes.size());
            g_sink = dst.back();
        });
        std::snprintf(label, sizeof label, "load %s (%zu bytes stored)", BuiltinSkinName(i), bytes.size());
        Row(label, load, "plain copy of those bytes", plain);
    }
    return 0;
}
