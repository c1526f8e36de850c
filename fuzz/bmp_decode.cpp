// Any bytes as a ".bmp" file: a picture or EInvalidGraphic, never a bad read or a huge allocation.
#include <cstddef>
#include <cstdint>

#include "skin/data/BmpDecoder.h"
#include "skin/data/SkinDraw.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        kt::TBitmap32 bm = kt::DecodeBmp(data, size);
        // Cheap use of the result so the decoder's output is checked by the sanitizers too.
        (void)kt::RegionRuns(bm.View(), 0, 0);
    } catch (const kt::EInvalidGraphic&) {
    }
    return 0;
}
