// Our LZHUF encoder: the classic binary-tree match finder over the 4096-byte ring with the same
// adaptive Huffman coding as TLZH, so TLZH::Unpack expands its output byte for byte. Used by
// ktskin to make skin containers, and by the tests.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace kt {

// Appends the LZHUF bit stream of data to out (no size prefix).
// reconstCount, when given, receives how often the tree was rebuilt.
void LzhEncode(std::span<const uint8_t> data, std::vector<uint8_t>& out,
               int* reconstCount = nullptr);

// A skin container's compressed form: the 32-bit little-endian size, then the bit stream.
std::vector<uint8_t> LzhPackContainer(std::span<const uint8_t> data);

// Writes chosen symbols with the codec's coding, for streams no match finder would make
// (tests, fuzz seeds).
class LzhSymbolWriter {
public:
    LzhSymbolWriter();
    ~LzhSymbolWriter();
    LzhSymbolWriter(const LzhSymbolWriter&) = delete;
    LzhSymbolWriter& operator=(const LzhSymbolWriter&) = delete;

    void Literal(uint8_t byte);
    // A match of length 3..60 that starts distance + 1 bytes back (distance 0..4095).
    void Match(int length, unsigned distance);
    // Pads the last byte with zero bits and returns the stream.
    std::vector<uint8_t> Finish();
    int ReconstCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kt
