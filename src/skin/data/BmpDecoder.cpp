#include "skin/data/BmpDecoder.h"

#include <cstring>

namespace kt {
namespace {

constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;
// An RLE code of two bytes paints at most 255 pixels; escapes that skip rows or the rest of
// the picture paint nothing, so a picture may not be much larger than its runs could fill.
constexpr std::int64_t kRlePixelsPerByte = 512;
constexpr std::int64_t kMaxSide = 1 << 16;

[[noreturn]] void Bad() { throw EInvalidGraphic(); }

std::uint16_t U16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

struct Mask {
    std::uint32_t mask = 0;
    int shift = 0, bits = 0;
    explicit Mask(std::uint32_t m = 0) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        while (shift + bits < 32 && ((m >> (shift + bits)) & 1)) ++bits;
    }
    int Get(std::uint32_t v) const {
        if (!bits) return 0;
        std::uint32_t c = (v & mask) >> shift;
        if (bits >= 8) return int(c >> (bits - 8));
        // Widen to 8 bits by repeating the top bits.
        std::uint32_t out = 0;
        int have = 0;
        while (have < 8) {
            out = (out << bits) | c;
            have += bits;
        }
        return int(out >> (have - 8));
    }
};

class Decoder {
public:
    Decoder(const std::uint8_t* d, std::size_t n) : data_(d), size_(n) {}

    TBitmap32 Run() {
        if (size_ < 14 + 12 || data_[0] != 'B' || data_[1] != 'M') Bad();
        const std::uint32_t offBits = U32(data_ + 10);
        const std::uint32_t hdrSize = U32(data_ + 14);
        const std::uint8_t* h = data_ + 14;
        std::int64_t width, height;
        std::uint32_t planes, bpp, compression = BI_RGB, clrUsed = 0;
        std::size_t palEntry = 4;
        std::uint32_t masks[3] = {0, 0, 0};
        bool haveMasks = false;
        if (hdrSize == 12) {
            width = U16(h + 4);
            height = std::int16_t(U16(h + 6));
            planes = U16(h + 8);
            bpp = U16(h + 10);
            palEntry = 3;
        } else if (hdrSize == 40 || hdrSize == 52 || hdrSize == 56 || hdrSize == 108 || hdrSize == 124) {
            if (size_ < 14 + std::size_t(hdrSize)) Bad();
            width = std::int32_t(U32(h + 4));
            height = std::int32_t(U32(h + 8));
            planes = U16(h + 12);
            bpp = U16(h + 14);
            compression = U32(h + 16);
            clrUsed = U32(h + 32);
            if (hdrSize >= 52) {
                for (int i = 0; i < 3; ++i) masks[i] = U32(h + 40 + 4 * i);
                haveMasks = true;
            }
        } else {
            Bad();
        }
        std::size_t pos = 14 + std::size_t(hdrSize);
        if (compression == BI_BITFIELDS && !haveMasks) {
            if (size_ - pos < 12) Bad();
            for (int i = 0; i < 3; ++i) masks[i] = U32(data_ + pos + 4 * i);
            pos += 12;
        }

        const bool topDown = height < 0;
        if (topDown) height = -height;
        if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || planes != 1) Bad();
        switch (compression) {
            case BI_RGB:
                if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) Bad();
                break;
            case BI_RLE8: if (bpp != 8 || topDown) Bad(); break;
            case BI_RLE4: if (bpp != 4 || topDown) Bad(); break;
            case BI_BITFIELDS:
                if (bpp != 16 && bpp != 32) Bad();
                for (auto m : masks)
                    if (!m) Bad();
                break;
            default: Bad();
        }

        // Colour table, right after the header (and masks).
        if (bpp <= 8) {
            const std::uint32_t maxColours = 1u << bpp;
            std::uint32_t n = clrUsed == 0 ? maxColours : clrUsed;
            if (n > maxColours) n = maxColours;  // entries past 2^bpp can never be used
            if ((size_ - pos) / palEntry < n) Bad();
            palette_.resize(n);
            for (std::uint32_t i = 0; i < n; ++i) {
                const std::uint8_t* e = data_ + pos + i * palEntry;
                palette_[i] = MakePixel(e[2], e[1], e[0]);
            }
            pos += n * palEntry;
        } else if (compression == BI_RGB) {
            if (bpp == 16) {
                masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
            } else {
                masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF;
            }
        }
        for (int i = 0; i < 3; ++i) mask_[i] = Mask(masks[i]);

        if (offBits < pos || offBits > size_) Bad();
        const std::uint8_t* bits = data_ + offBits;
        const std::size_t avail = size_ - offBits;

        w_ = int(width);
        h_ = int(height);
        bpp_ = int(bpp);
        if (compression == BI_RLE8 || compression == BI_RLE4) {
            if (width * height > std::int64_t(avail) * kRlePixelsPerByte) Bad();
            return DecodeRle(bits, avail, compression == BI_RLE4);
        }
        const std::int64_t stride = (width * bpp + 31) / 32 * 4;
        const std::int64_t lastRow = (width * bpp + 7) / 8;  // the final row's padding may be missing
        if ((height - 1) * stride + lastRow > std::int64_t(avail)) Bad();
        TBitmap32 out(w_, h_);
        for (int y = 0; y < h_; ++y) {
            const std::uint8_t* src = bits + std::size_t(y) * std::size_t(stride);
            Pixel* dst = out.Row(topDown ? y : h_ - 1 - y);
            DecodeRow(src, dst);
        }
        return out;
    }

private:
    Pixel Pal(unsigned i) const { return i < palette_.size() ? palette_[i] : 0; }

    void DecodeRow(const std::uint8_t* s, Pixel* d) const {
        switch (bpp_) {
            case 1:
                for (int x = 0; x < w_; ++x) d[x] = Pal((s[x >> 3] >> (7 - (x & 7))) & 1);
                break;
            case 4:
                for (int x = 0; x < w_; ++x) d[x] = Pal((s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
                break;
            case 8:
                for (int x = 0; x < w_; ++x) d[x] = Pal(s[x]);
                break;
            case 16:
                for (int x = 0; x < w_; ++x) {
                    std::uint32_t v = U16(s + 2 * x);
                    d[x] = MakePixel(mask_[0].Get(v), mask_[1].Get(v), mask_[2].Get(v));
                }
                break;
            case 24:
                for (int x = 0; x < w_; ++x) d[x] = MakePixel(s[3 * x + 2], s[3 * x + 1], s[3 * x]);
                break;
            case 32:
                for (int x = 0; x < w_; ++x) {
                    std::uint32_t v = U32(s + 4 * x);
                    d[x] = MakePixel(mask_[0].Get(v), mask_[1].Get(v), mask_[2].Get(v));
                }
                break;
        }
    }

    // RLE pictures are always bottom-up. Pixels the runs skip are left at palette entry 0.
    TBitmap32 DecodeRle(const std::uint8_t* s, std::size_t n, bool four) const {
        TBitmap32 out(w_, h_, Pal(0));
        std::size_t i = 0;
        int x = 0, y = 0;  // y counts rows from the bottom
        auto put = [&](unsigned index) {
            if (x < w_ && y < h_) out.At(x, h_ - 1 - y) = Pal(index);
            ++x;
        };
        while (y < h_) {
            if (n - i < 2) Bad();  // ran out of codes before the end-of-bitmap mark
            const unsigned count = s[i], value = s[i + 1];
            i += 2;
            if (count > 0) {
                for (unsigned k = 0; k < count; ++k)
                    put(four ? ((k & 1) ? (value & 15) : (value >> 4)) : value);
                continue;
            }
            if (value == 0) {          // end of line
                x = 0;
                ++y;
            } else if (value == 1) {   // end of bitmap
                break;
            } else if (value == 2) {   // delta
                if (n - i < 2) Bad();
                x += s[i];
                y += s[i + 1];
                i += 2;
            } else {                   // absolute run of `value` pixels, padded to a word
                const std::size_t bytes = four ? (value + 1) / 2 : value;
                const std::size_t padded = (bytes + 1) & ~std::size_t(1);
                if (n - i < bytes) Bad();
                for (unsigned k = 0; k < value; ++k)
                    put(four ? ((k & 1) ? (s[i + k / 2] & 15) : (s[i + k / 2] >> 4)) : s[i + k]);
                i += padded <= n - i ? padded : bytes;
            }
        }
        return out;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::vector<Pixel> palette_;
    Mask mask_[3];
    int w_ = 0, h_ = 0, bpp_ = 0;
};

void Put16(std::vector<std::uint8_t>& v, unsigned x) {
    v.push_back(std::uint8_t(x));
    v.push_back(std::uint8_t(x >> 8));
}
void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(std::uint8_t(x >> (8 * i)));
}

}  // namespace

TBitmap32 DecodeBmp(const std::uint8_t* data, std::size_t size) {
    if (!data) Bad();
    return Decoder(data, size).Run();
}

std::vector<std::uint8_t> EncodeBmp24(const TBitmap32& bm) {
    const int w = bm.Width(), h = bm.Height();
    const std::uint32_t stride = (std::uint32_t(w) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * std::uint32_t(h);
    std::vector<std::uint8_t> v;
    v.reserve(54 + imageSize);
    v.push_back('B');
    v.push_back('M');
    Put32(v, 54 + imageSize);
    Put32(v, 0);
    Put32(v, 54);
    Put32(v, 40);
    Put32(v, std::uint32_t(w));
    Put32(v, std::uint32_t(h));
    Put16(v, 1);
    Put16(v, 24);
    Put32(v, BI_RGB);
    Put32(v, imageSize);
    Put32(v, 2835);
    Put32(v, 2835);
    Put32(v, 0);
    Put32(v, 0);
    for (int y = h - 1; y >= 0; --y) {
        const Pixel* row = bm.Row(y);
        for (int x = 0; x < w; ++x) {
            v.push_back(std::uint8_t(PixelB(row[x])));
            v.push_back(std::uint8_t(PixelG(row[x])));
            v.push_back(std::uint8_t(PixelR(row[x])));
        }
        for (std::uint32_t p = std::uint32_t(w) * 3; p < stride; ++p) v.push_back(0);
    }
    return v;
}

}  // namespace kt
