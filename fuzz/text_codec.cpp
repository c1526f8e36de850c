// Text decoders: any bytes decode to valid UTF-8, a bad byte is found where it stands, and
// what they give survives the round trip through UTF-16 and the code page.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/TextCodec.h"

namespace {
void Check(bool ok) {
    if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kt::DecodedText d = kt::DecodeText(bytes, kt::Windows1252());
    Check(kt::IsValidUtf8(d.text));
    Check(d.bad == std::string::npos || (d.bad < d.text.size() && d.text.compare(d.bad, 3, "\xEF\xBF\xBD") == 0));
    Check(kt::Utf16ToUtf8(kt::Utf8ToUtf16(d.text)) == d.text);
    // The reader's way, without a copy, comes to the same.
    kt::DecodedText storage;
    Check(kt::DecodeTextInPlace(bytes, storage, kt::Windows1252()) == d.text && storage.encoding == d.encoding &&
          storage.bad == d.bad);
    if (d.encoding == kt::TextEncoding::Utf8 || (d.encoding == kt::TextEncoding::Utf8Bom && d.bad == std::string::npos))
        Check(d.text == bytes.substr(d.encoding == kt::TextEncoding::Utf8 ? 0 : 3));
    if (d.encoding == kt::TextEncoding::CodePage) {
        std::string back;
        Check(kt::Windows1252().FromUtf8(d.text, back) && back == bytes);
    }
    // Any UTF-16 units, lone surrogates included, give valid UTF-8.
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * 2);
    Check(kt::IsValidUtf8(kt::Utf16ToUtf8(units)));
    return 0;
}
