// Builds expanded and packed skin containers for the tests.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "skin/data/LzhEncoder.h"

namespace kt::testing {

inline void PutInt32(std::vector<uint8_t>& out, int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

struct ExpandedSkin {
    int32_t version = 20000;
    int32_t reserved1 = 0, reserved2 = 0;
    std::string names;             // the name text as stored
    std::vector<int32_t> sizes;    // as stored
    std::vector<uint8_t> data;     // the data area

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> out;
        PutInt32(out, version);
        PutInt32(out, static_cast<int32_t>(names.size()));
        PutInt32(out, reserved1);
        PutInt32(out, reserved2);
        out.insert(out.end(), names.begin(), names.end());
        for (int32_t s : sizes) PutInt32(out, s);
        out.insert(out.end(), data.begin(), data.end());
        return out;
    }
    std::vector<uint8_t> Packed() const { return LzhPackContainer(Bytes()); }
};

// A well-formed skin from (name, content) pairs, names ended by CR LF.
inline ExpandedSkin MakeSkin(const std::vector<std::pair<std::string, std::string>>& entries) {
    ExpandedSkin skin;
    for (const auto& [name, content] : entries) {
        skin.names += name + "\r\n";
        skin.sizes.push_back(static_cast<int32_t>(content.size()));
        skin.data.insert(skin.data.end(), content.begin(), content.end());
    }
    return skin;
}

inline std::string Str(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

}  // namespace kt::testing
