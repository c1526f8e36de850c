#include "PngWriter.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <vector>

namespace {

void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 3; i >= 0; --i) v.push_back(std::uint8_t(x >> (8 * i)));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    Put32(out, std::uint32_t(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, uInt(out.size() - start));
    Put32(out, std::uint32_t(crc));
}

}  // namespace

bool WritePng(const std::string& path, const kt::TBitmap32& bm) {
    const int w = bm.Width(), h = bm.Height();
    std::vector<std::uint8_t> raw;
    raw.reserve(std::size_t(h) * (1 + 3 * std::size_t(w)));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < w; ++x) {
            const kt::Pixel p = bm.At(x, y);
            raw.push_back(std::uint8_t(kt::PixelR(p)));
            raw.push_back(std::uint8_t(kt::PixelG(p)));
            raw.push_back(std::uint8_t(kt::PixelB(p)));
        }
    }
    uLongf zlen = compressBound(uLong(raw.size()));
    std::vector<std::uint8_t> z(zlen);
    if (compress2(z.data(), &zlen, raw.data(), uLong(raw.size()), 9) != Z_OK) return false;
    z.resize(zlen);

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    Put32(ihdr, std::uint32_t(w));
    Put32(ihdr, std::uint32_t(h));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    Chunk(out, "IHDR", ihdr);
    Chunk(out, "IDAT", z);
    Chunk(out, "IEND", {});
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
    return bool(f);
}
