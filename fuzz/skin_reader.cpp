// TSkinReader::Open and extraction on hostile containers. The first byte chooses the form:
// even, the rest is a container as found in a file; odd, the rest is an expanded container
// that our encoder packs first, which reaches the directory checks far more often.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::span<const uint8_t> rest(data + 1, size - 1);
    std::vector<uint8_t> packed;
    std::span<const uint8_t> container = rest;
    if (data[0] & 1) {
        packed = kt::LzhPackContainer(rest);
        container = packed;
    }
    kt::TSkinReader reader;
    if (!reader.Open(container)) return 0;

    // Every listed name extracts the bytes of its first listing, all inside the data area.
    int64_t total = 0;
    std::vector<uint8_t> entry;
    for (int i = 0; i < reader.Count(); ++i) {
        const std::string& name = reader.Names()[static_cast<size_t>(i)];
        if (!reader.ExtractByName(name, entry)) std::abort();
        int first = 0;
        while (reader.Names()[static_cast<size_t>(first)] != name) ++first;
        if (entry.size() != static_cast<size_t>(reader.Size(first))) std::abort();
        total += reader.Size(i);
    }
    if (total > static_cast<int64_t>(reader.Data().size())) std::abort();
    std::string found;
    reader.ExtractByPart(".ini", entry, found);
    reader.ExtractByName("form.bmp", entry);
    return 0;
}
