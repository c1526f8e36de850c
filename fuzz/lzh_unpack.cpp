// Unpack on any bit stream: the first two bytes give the size to expand, the rest is the
// stream. The size is capped at 16 bytes per stream byte (real skins reach a third of that)
// so each input stays fast; past the stream's end the decoder reads zero bits anyway. The tree walks and ring copies must stay in bounds
// and the output must be the size plus at most one match's overrun.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/data/LzhCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int32_t textSize = std::min<int32_t>(data[0] | data[1] << 8,
                                               static_cast<int32_t>(16 * (size - 2) + 256));
    kt::LzhInStream in{data + 2, size - 2, 0};
    std::vector<uint8_t> out;
    kt::TLZH codec;
    codec.InStream = &in;
    codec.OutStream = &out;
    codec.UnpackStreams(textSize);
    if (out.size() < static_cast<size_t>(textSize) ||
        out.size() > static_cast<size_t>(textSize) + 59)
        std::abort();
    return 0;
}
