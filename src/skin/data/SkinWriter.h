// Makes skin containers, the counterpart of TSkinReader: used by ktskin and the tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kt {

struct SkinEntry {
    std::string name;
    std::vector<uint8_t> data;
};

// The expanded form: version 20000, the name text (each name ended by CR LF), the size table
// and the entries' bytes, in the given order. Raises kt::Exception for a name holding a line
// break, more than 1001 entries, or a result the reader would refuse as too large.
std::vector<uint8_t> BuildExpandedSkin(const std::vector<SkinEntry>& entries);

// The container as stored in a ".skn" file: BuildExpandedSkin, then LZHUF with its size.
std::vector<uint8_t> PackSkin(const std::vector<SkinEntry>& entries);

}  // namespace kt
