// Deterministic sample contents for the skin codec's tests and benchmark.
#pragma once
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace kt::sample {

// Text-like: words of an INI-ish vocabulary with punctuation and line breaks, the kind of
// redundancy a skin description and its bitmaps' rows give the codec.
inline std::vector<uint8_t> TextLike(size_t size, uint32_t seed = 1) {
    static const char* const words[] = {
        "[Form]",  "Caption", "Border",  "LeftWidth=", "TopHeight=", "Button", "Color",
        "Transparent", "Tile",  "FrameCount", "the",    "skin",       "window", "menu",
        "bitmap",  "=",       "0",       "1",          "12",         "255",    "clBtnFace",
        "Normal",  "Hot",     "Down",    "Disabled",   ".bmp",       "title",  "and"};
    std::mt19937 rng(seed);
    std::vector<uint8_t> out;
    out.reserve(size + 32);
    while (out.size() < size) {
        const std::string w = words[rng() % (sizeof words / sizeof *words)];
        out.insert(out.end(), w.begin(), w.end());
        const uint32_t r = rng() % 16;
        out.push_back(r == 0 ? '\r' : r == 1 ? ',' : ' ');
        if (r == 0) out.push_back('\n');
    }
    out.resize(size);
    return out;
}

inline std::vector<uint8_t> Random(size_t size, uint32_t seed = 7) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> out(size);
    for (auto& b : out) b = static_cast<uint8_t>(rng());
    return out;
}

}  // namespace kt::sample
