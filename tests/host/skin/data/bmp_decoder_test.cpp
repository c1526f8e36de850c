#include <gtest/gtest.h>

#include <cstring>

#include "skin/data/BmpDecoder.h"

using namespace kt;

namespace {

struct BmpBuilder {
    int width = 2, height = 2, bpp = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::vector<std::uint8_t> pixels;     // rows as stored
    std::vector<std::uint32_t> masks;     // BI_BITFIELDS masks after the header
    int hdrSize = 40;

    static void P16(std::vector<std::uint8_t>& v, unsigned x) { v.push_back(x & 255); v.push_back((x >> 8) & 255); }
    static void P32(std::vector<std::uint8_t>& v, std::uint32_t x) { for (int i = 0; i < 4; ++i) v.push_back((x >> (8 * i)) & 255); }

    std::vector<std::uint8_t> Build() const {
        std::vector<std::uint8_t> v{'B', 'M'};
        const std::size_t palBytes = palette.size() * (hdrSize == 12 ? 3 : 4);
        const std::uint32_t off = 14 + hdrSize + std::uint32_t(masks.size() * 4 + palBytes);
        P32(v, off + std::uint32_t(pixels.size()));
        P32(v, 0);
        P32(v, off);
        P32(v, std::uint32_t(hdrSize));
        if (hdrSize == 12) {
            P16(v, unsigned(width)); P16(v, unsigned(height)); P16(v, 1); P16(v, unsigned(bpp));
        } else {
            P32(v, std::uint32_t(width)); P32(v, std::uint32_t(height)); P16(v, 1); P16(v, unsigned(bpp));
            P32(v, compression); P32(v, std::uint32_t(pixels.size())); P32(v, 0); P32(v, 0);
            P32(v, std::uint32_t(palette.size())); P32(v, 0);
        }
        for (auto m : masks) P32(v, m);
        for (auto c : palette) {
            v.push_back(c & 255); v.push_back((c >> 8) & 255); v.push_back((c >> 16) & 255);
            if (hdrSize != 12) v.push_back(0);
        }
        v.insert(v.end(), pixels.begin(), pixels.end());
        return v;
    }
};

}  // namespace

TEST(BmpDecoder, TrueColourRowsBottomUpAndTopDown) {
    BmpBuilder b;
    b.width = 3; b.height = 2; b.bpp = 24;
    // bottom row first: blue, green, red (+3 pad) ; top row: white, black, magenta
    b.pixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0,
                255, 255, 255, 0, 0, 0, 255, 0, 255, 0, 0, 0};
    TBitmap32 bm = DecodeBmp(b.Build());
    ASSERT_EQ(bm.Width(), 3);
    ASSERT_EQ(bm.Height(), 2);
    EXPECT_EQ(bm.At(0, 1), 0x0000FFu);
    EXPECT_EQ(bm.At(2, 1), 0xFF0000u);
    EXPECT_EQ(bm.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(bm.At(2, 0), kMagenta);

    b.height = -2;  // top-down: the first stored row is the top one
    TBitmap32 td = DecodeBmp(b.Build());
    EXPECT_EQ(td.At(0, 0), 0x0000FFu);
    EXPECT_EQ(td.At(2, 1), kMagenta);

    // 32 bits, and the missing padding of the last row is tolerated for 24 bits
    BmpBuilder c;
    c.width = 1; c.height = 1; c.bpp = 32;
    c.pixels = {1, 2, 3, 0xFF};
    EXPECT_EQ(DecodeBmp(c.Build()).At(0, 0), 0x030201u);
    BmpBuilder d;
    d.width = 1; d.height = 2; d.bpp = 24;
    d.pixels = {1, 2, 3, 0, 4, 5, 6};
    EXPECT_EQ(DecodeBmp(d.Build()).At(0, 0), 0x060504u);
}

TEST(BmpDecoder, PalettedDepthsAndCoreHeader) {
    BmpBuilder b;
    b.width = 10; b.height = 1; b.bpp = 1;
    b.palette = {0x000000, 0xFFFFFF};
    b.pixels = {0xA0, 0x40, 0, 0};  // 1010 0000 01.. ..
    TBitmap32 bm = DecodeBmp(b.Build());
    EXPECT_EQ(bm.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(bm.At(1, 0), 0u);
    EXPECT_EQ(bm.At(2, 0), 0xFFFFFFu);
    EXPECT_EQ(bm.At(9, 0), 0xFFFFFFu);

    b.bpp = 4; b.width = 3;
    b.palette = {0x111111, 0x222222, 0x333333};
    b.pixels = {0x12, 0x70, 0, 0};  // index 7 lies past the 3-colour palette: black
    bm = DecodeBmp(b.Build());
    EXPECT_EQ(bm.At(0, 0), 0x222222u);
    EXPECT_EQ(bm.At(1, 0), 0x333333u);
    EXPECT_EQ(bm.At(2, 0), 0u);

    b.bpp = 8; b.width = 2; b.pixels = {2, 0, 0, 0};
    bm = DecodeBmp(b.Build());
    EXPECT_EQ(bm.At(0, 0), 0x333333u);
    EXPECT_EQ(bm.At(1, 0), 0x111111u);

    // The core header always carries 2^bpp three-byte entries.
    b.hdrSize = 12; b.bpp = 1;
    b.palette = {0x123456, 0xABCDEF};
    b.pixels = {0x40, 0, 0, 0};
    bm = DecodeBmp(b.Build());
    EXPECT_EQ(bm.At(0, 0), 0x123456u);
    EXPECT_EQ(bm.At(1, 0), 0xABCDEFu);
}

TEST(BmpDecoder, BitfieldsAnd555) {
    BmpBuilder b;
    b.width = 1; b.height = 1; b.bpp = 16; b.compression = 3;
    b.masks = {0xF800, 0x07E0, 0x001F};  // 565
    b.pixels = {0xFF, 0xFF, 0, 0};
    EXPECT_EQ(DecodeBmp(b.Build()).At(0, 0), 0xFFFFFFu);
    BmpBuilder c;
    c.width = 1; c.height = 1; c.bpp = 16;  // BI_RGB 16 bits is 555
    c.pixels = {0x00, 0x7C, 0, 0};
    EXPECT_EQ(DecodeBmp(c.Build()).At(0, 0), 0xFF0000u);
    b.masks = {0, 0x07E0, 0x001F};  // a zero mask is not a picture
    EXPECT_THROW(DecodeBmp(b.Build()), EInvalidGraphic);
}

TEST(BmpDecoder, RunLengthEncoded) {
    BmpBuilder b;
    b.width = 4; b.height = 2; b.bpp = 8; b.compression = 1;
    b.palette = {0x000000, 0x0000FF, 0x00FF00};
    // bottom row: 3 x index 1, then absolute run of 1 pixel would need 3: use encoded 1 x index 2
    b.pixels = {3, 1, 1, 2, 0, 0,
                0, 3, 2, 1, 2, 0,   // absolute run of 3: 2 1 2, padded
                0, 1};
    TBitmap32 bm = DecodeBmp(b.Build());
    EXPECT_EQ(bm.At(0, 1), 0x0000FFu);
    EXPECT_EQ(bm.At(3, 1), 0x00FF00u);
    EXPECT_EQ(bm.At(0, 0), 0x00FF00u);
    EXPECT_EQ(bm.At(1, 0), 0x0000FFu);
    EXPECT_EQ(bm.At(3, 0), 0u);  // never painted: palette entry 0

    BmpBuilder r4;
    r4.width = 4; r4.height = 1; r4.bpp = 4; r4.compression = 2;
    r4.palette = {0x000000, 0x0000FF, 0x00FF00};
    r4.pixels = {4, 0x12, 0, 1};
    bm = DecodeBmp(r4.Build());
    EXPECT_EQ(bm.At(0, 0), 0x0000FFu);
    EXPECT_EQ(bm.At(1, 0), 0x00FF00u);
    EXPECT_EQ(bm.At(2, 0), 0x0000FFu);

    b.pixels = {3, 1};  // codes end before the end-of-bitmap mark
    EXPECT_THROW(DecodeBmp(b.Build()), EInvalidGraphic);
    b.height = -2;  // RLE cannot be top-down
    b.pixels = {0, 1};
    EXPECT_THROW(DecodeBmp(b.Build()), EInvalidGraphic);
}

TEST(BmpDecoder, RefusesMalformedHeadersWithoutReadingPastTheBytes) {
    BmpBuilder good;
    good.width = 2; good.height = 2; good.bpp = 24;
    good.pixels.assign(16, 7);
    const auto ok = good.Build();
    ASSERT_NO_THROW(DecodeBmp(ok));
    // Every truncation fails cleanly (ASan watches the reads); only the last row's two
    // padding bytes may be missing.
    EXPECT_NO_THROW(DecodeBmp(std::vector<std::uint8_t>(ok.begin(), ok.end() - 2)));
    for (std::size_t n = 0; n < ok.size() - 2; ++n) {
        std::vector<std::uint8_t> cut(ok.begin(), ok.begin() + std::ptrdiff_t(n));
        EXPECT_THROW(DecodeBmp(cut), EInvalidGraphic) << n;
    }
    auto patched = [&](std::size_t at, std::uint32_t v, int bytes = 4) {
        auto c = ok;
        for (int i = 0; i < bytes; ++i) c[at + i] = (v >> (8 * i)) & 255;
        return c;
    };
    EXPECT_THROW(DecodeBmp(patched(0, 'X', 1)), EInvalidGraphic);          // signature
    EXPECT_THROW(DecodeBmp(patched(14, 41)), EInvalidGraphic);             // header size
    EXPECT_THROW(DecodeBmp(patched(18, 0)), EInvalidGraphic);              // width 0
    EXPECT_THROW(DecodeBmp(patched(18, 0x80000000u)), EInvalidGraphic);    // negative width
    EXPECT_THROW(DecodeBmp(patched(22, 0)), EInvalidGraphic);              // height 0
    EXPECT_THROW(DecodeBmp(patched(22, 100000)), EInvalidGraphic);         // more rows than bytes
    EXPECT_THROW(DecodeBmp(patched(26, 2, 2)), EInvalidGraphic);           // planes
    EXPECT_THROW(DecodeBmp(patched(28, 7, 2)), EInvalidGraphic);           // bits per pixel
    EXPECT_THROW(DecodeBmp(patched(30, 9)), EInvalidGraphic);              // compression
    EXPECT_THROW(DecodeBmp(patched(30, 1)), EInvalidGraphic);              // RLE8 with 24 bits
    EXPECT_THROW(DecodeBmp(patched(10, 1000)), EInvalidGraphic);           // pixel offset past the end
    EXPECT_THROW(DecodeBmp(patched(10, 20)), EInvalidGraphic);             // pixel offset inside the header
    // A palette that claims more colours than the file holds.
    BmpBuilder p;
    p.bpp = 8; p.width = 1; p.height = 1; p.palette = {1, 2};
    p.pixels = {0, 0, 0, 0};
    auto pal = p.Build();
    pal[46] = 200;
    EXPECT_THROW(DecodeBmp(pal), EInvalidGraphic);
    // A tiny RLE file may not ask for a huge picture.
    BmpBuilder big;
    big.bpp = 8; big.compression = 1; big.width = 60000; big.height = 60000; big.palette = {0};
    big.pixels = {0, 1};
    EXPECT_THROW(DecodeBmp(big.Build()), EInvalidGraphic);
}

TEST(BmpDecoder, EncoderRoundTrips) {
    TBitmap32 bm(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) bm.At(x, y) = MakePixel(x * 40, y * 90, 255 - x);
    EXPECT_EQ(DecodeBmp(EncodeBmp24(bm)), bm);
}
