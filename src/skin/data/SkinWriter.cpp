#include "skin/data/SkinWriter.h"

#include "core/Errors.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinReader.h"

namespace kt {

namespace {

void PutInt32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> BuildExpandedSkin(const std::vector<SkinEntry>& entries) {
    if (entries.size() > static_cast<size_t>(kSkinMaxEntries))
        throw Exception(std::to_string(entries.size()) + " entries; a skin holds at most " +
                        std::to_string(kSkinMaxEntries));
    std::string names;
    uint64_t total = 16;
    for (const SkinEntry& e : entries) {
        if (e.name.find_first_of("\r\n") != std::string::npos)
            throw Exception("entry name \"" + e.name + "\" holds a line break");
        names += e.name + "\r\n";
        total += 4 + e.data.size();
    }
    total += names.size();
    if (total > static_cast<uint64_t>(kSkinMaxExpandedSize))
        throw Exception("the skin expands to " + std::to_string(total) +
                        " bytes, more than the limit of " + std::to_string(kSkinMaxExpandedSize));

    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(total));
    PutInt32(out, static_cast<uint32_t>(kSkinVersion));
    PutInt32(out, static_cast<uint32_t>(names.size()));
    PutInt32(out, 0);
    PutInt32(out, 0);
    out.insert(out.end(), names.begin(), names.end());
    for (const SkinEntry& e : entries) PutInt32(out, static_cast<uint32_t>(e.data.size()));
    for (const SkinEntry& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
    return out;
}

std::vector<uint8_t> PackSkin(const std::vector<SkinEntry>& entries) {
    return LzhPackContainer(BuildExpandedSkin(entries));
}

}  // namespace kt
