// Scheme file reader: any bytes must read without fault, and what it reads must survive a
// write and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/core/SchemeFile.h"
#include "core/Errors.h"

namespace {
void Check(bool ok) {
    if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view content(reinterpret_cast<const char*>(data), size);
    kt::ButtonScheme scheme;
    try {
        kt::ReadSchemeText(content, scheme);
    } catch (const kt::EConvertError&) {
        // The lines before the bad one stay loaded; check them like any other.
    }
    Check(scheme.eol >= kt::kEolNone && scheme.eol <= kt::kEolTab);
    Check(scheme.keys.size() == scheme.texts.size());
    for (const auto* list : {&scheme.captions, &scheme.texts})
        for (const std::string& s : *list)
            Check(s.size() <= kt::kSchemeLineLimit - 3 &&
                  s.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);

    for (auto format : {kt::FormatSchemeForSave, kt::FormatSchemeImplicit}) {
        kt::ButtonScheme back;
        kt::ReadSchemeText(format(scheme), back);  // must not throw: the writers write valid files
        Check(back.captions == scheme.captions && back.eol == scheme.eol);
        Check(back.texts.size() == scheme.captions.size());
        for (std::size_t i = 0; i < back.texts.size(); ++i) {
            Check(back.texts[i] == (i < scheme.texts.size() ? scheme.texts[i] : std::string()));
            // A keys-in-braces text stays one through both writers.
            Check(back.keys[i] == kt::IsKeysText(scheme, i));
        }
    }
    return 0;
}
