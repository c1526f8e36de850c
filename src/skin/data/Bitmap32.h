// A 32-bit pixel bitmap shared by the skin model, the raster routines and the Win32 layer.
// Pixels are 0x00RRGGBB, the memory order of a 32-bit top-down DIB, so a DIB section can
// lend its bits to the raster routines without conversion.
#pragma once
#include <cstdint>
#include <vector>

#include "core/Errors.h"

namespace kt {

using Pixel = std::uint32_t;
constexpr Pixel kMagenta = 0xFF00FF;   // the transparent colour of every skin picture
constexpr Pixel kRgbMask = 0xFFFFFF;

inline constexpr Pixel MakePixel(int r, int g, int b) {
    return (Pixel(r & 255) << 16) | (Pixel(g & 255) << 8) | Pixel(b & 255);
}
inline constexpr int PixelR(Pixel p) { return int((p >> 16) & 255); }
inline constexpr int PixelG(Pixel p) { return int((p >> 8) & 255); }
inline constexpr int PixelB(Pixel p) { return int(p & 255); }

// A picture that is not a valid bitmap: the graphics library's own error.
class EInvalidGraphic : public Exception {
public:
    EInvalidGraphic() : Exception("Bitmap image is not valid") {}
};

struct TRectI {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool operator==(const TRectI&) const = default;
};

// Pixels owned elsewhere (a TBitmap32 or a DIB section). Stride is in pixels.
struct PixelView {
    Pixel* Bits = nullptr;
    int Width = 0, Height = 0, Stride = 0;
    Pixel* Row(int y) const { return Bits + std::ptrdiff_t(y) * Stride; }
};
struct ConstPixelView {
    const Pixel* Bits = nullptr;
    int Width = 0, Height = 0, Stride = 0;
    ConstPixelView() = default;
    ConstPixelView(const Pixel* bits, int w, int h, int stride) : Bits(bits), Width(w), Height(h), Stride(stride) {}
    ConstPixelView(const PixelView& v) : Bits(v.Bits), Width(v.Width), Height(v.Height), Stride(v.Stride) {}
    const Pixel* Row(int y) const { return Bits + std::ptrdiff_t(y) * Stride; }
};

class TBitmap32 {
public:
    // Larger pictures are refused: no skin needs them and a bad file must not exhaust memory.
    static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;

    TBitmap32() = default;
    TBitmap32(int width, int height, Pixel fill = 0) { SetSize(width, height, fill); }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }

    // Throws EInvalidGraphic for a negative or oversized request; a zero side gives an empty bitmap.
    void SetSize(int width, int height, Pixel fill = 0);
    void Clear() { width_ = height_ = 0; pixels_.clear(); pixels_.shrink_to_fit(); }
    void Fill(Pixel p);

    Pixel& At(int x, int y) { return pixels_[std::size_t(y) * width_ + x]; }
    Pixel At(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }
    Pixel* Row(int y) { return pixels_.data() + std::size_t(y) * width_; }
    const Pixel* Row(int y) const { return pixels_.data() + std::size_t(y) * width_; }

    PixelView View() { return {pixels_.data(), width_, height_, width_}; }
    ConstPixelView View() const { return {pixels_.data(), width_, height_, width_}; }

    bool operator==(const TBitmap32& o) const {
        return width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
    }

private:
    int width_ = 0, height_ = 0;
    std::vector<Pixel> pixels_;
};

}  // namespace kt
