// Any text as a skin description's INI text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "skin/data/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kt::TIniText ini(text);
    for (const auto& s : ini.Sections()) {
        (void)ini.ReadString(s, "Image", "");
        (void)ini.ReadInteger(s, "Tile", 0);
    }
    (void)ini.ReadString("Personality", "Left", "");
    return 0;
}
