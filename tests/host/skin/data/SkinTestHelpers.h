// Builds skin containers and descriptions for the skin model tests.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "skin/data/BmpDecoder.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/WinSkinData.h"

namespace skintest {

using Entries = std::vector<std::pair<std::string, std::vector<std::uint8_t>>>;

inline std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

inline std::vector<std::uint8_t> Bmp(int w, int h, kt::Pixel fill = 0x336699) {
    return kt::EncodeBmp24(kt::TBitmap32(w, h, fill));
}

// The expanded container: version, names length, two reserved words, names, sizes, data.
inline std::vector<std::uint8_t> Expanded(const Entries& entries, std::int32_t version = 20000) {
    std::string names;
    for (const auto& e : entries) names += e.first + "\r\n";
    std::vector<std::uint8_t> v;
    auto p32 = [&](std::uint32_t x) {
        for (int i = 0; i < 4; ++i) v.push_back(std::uint8_t(x >> (8 * i)));
    };
    p32(std::uint32_t(version));
    p32(std::uint32_t(names.size()));
    p32(0);
    p32(0);
    v.insert(v.end(), names.begin(), names.end());
    for (const auto& e : entries) p32(std::uint32_t(e.second.size()));
    for (const auto& e : entries) v.insert(v.end(), e.second.begin(), e.second.end());
    return v;
}

inline std::vector<std::uint8_t> Container(const Entries& entries, std::int32_t version = 20000) {
    return kt::LzhPackContainer(Expanded(entries, version));
}

// Pictures looked up by name without a container.
class MapEntries : public kt::TSkinEntrySource {
public:
    std::map<std::string, std::vector<std::uint8_t>> map;
    std::vector<std::uint8_t> Entry(std::string_view name) const override {
        auto it = map.find(kt::LowerAscii(name));
        return it == map.end() ? std::vector<std::uint8_t>{} : it->second;
    }
    void Add(const std::string& name, std::vector<std::uint8_t> bytes) { map[kt::LowerAscii(name)] = std::move(bytes); }
};

}  // namespace skintest
