// Any text as the stored capture key: it is read, or refused with a reason, and a key that is
// read prints back as text that reads as the same key.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/core/CaptureKey.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kt::CaptureKey key, again;
    std::string problem;
    if (!kt::ParseCaptureKey(text, key, problem)) {
        if (problem.empty()) std::abort();
        return 0;
    }
    if (!kt::ParseCaptureKey(kt::CaptureKeyText(key), again, problem) || !(again == key)) std::abort();
    return 0;
}
