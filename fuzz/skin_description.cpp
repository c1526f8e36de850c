// A whole skin container into the skin model. The first byte chooses how the rest is used:
// even: the bytes are a container as found in a ".skn" file;
// odd: they are a description and pictures, separated by "#@#" (the INI text, then each
// picture, named p0.bmp, p1.bmp...), packed into a container here so the fuzzer reaches the reader
// without having to find valid compressed streams.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace {

std::vector<std::uint8_t> Pack(const std::uint8_t* data, std::size_t size) {
    std::vector<std::vector<std::uint8_t>> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (i + 2 < size && data[i] == '#' && data[i + 1] == '@' && data[i + 2] == '#') {
            parts.emplace_back();
            i += 2;
        } else {
            parts.back().push_back(data[i]);
        }
    }
    std::string names = "skin.ini\r\n";
    for (std::size_t i = 1; i < parts.size(); ++i) names += "p" + std::to_string(i - 1) + ".bmp\r\n";
    std::vector<std::uint8_t> v;
    auto p32 = [&](std::uint32_t x) {
        for (int i = 0; i < 4; ++i) v.push_back(std::uint8_t(x >> (8 * i)));
    };
    p32(20000);
    p32(std::uint32_t(names.size()));
    p32(0);
    p32(0);
    v.insert(v.end(), names.begin(), names.end());
    for (const auto& p : parts) p32(std::uint32_t(p.size()));
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return kt::LzhPackContainer(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    kt::TSkinData skin;
    if (data[0] & 1)
        skin.SkinStream = Pack(data + 1, size - 1);
    else
        skin.SkinStream.assign(data + 1, data + size);
    try {
        if (skin.UnpackSkin()) {
            // Draw every element once the way the painters would, at a small size.
            kt::TBitmap32 target(64, 24);
            for (const kt::TDataSkinObject* e : skin.Elements())
                kt::DrawNinePiece(target.View(), {0, 0, 64, 24}, e->Image, e->Margins(), false, e->Tile != 0,
                                  e->FrameCount, 1, e->Trans != 0);
        }
    } catch (const kt::Exception&) {
    }
    return 0;
}
