// Windows ".bmp" files to and from TBitmap32. The decoder trusts nothing in the file: every
// header field is checked, nothing is read outside the bytes, and no picture larger than the
// bytes can describe is allocated. A bad file raises EInvalidGraphic.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/data/Bitmap32.h"

namespace kt {

// 1, 4, 8, 16, 24 and 32 bits per pixel; bottom-up and top-down; BI_RGB, BI_RLE8, BI_RLE4 and
// BI_BITFIELDS; BITMAPCOREHEADER, BITMAPINFOHEADER and the V2 to V5 headers.
TBitmap32 DecodeBmp(const std::uint8_t* data, std::size_t size);
inline TBitmap32 DecodeBmp(const std::vector<std::uint8_t>& bytes) { return DecodeBmp(bytes.data(), bytes.size()); }

// A 24-bit bottom-up BI_RGB file, the form skin pictures are stored in.
std::vector<std::uint8_t> EncodeBmp24(const TBitmap32& bitmap);

}  // namespace kt
