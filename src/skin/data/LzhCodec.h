// TLZH: the LZHUF decoder that expands skin containers. LZSS over a 4096-byte ring, literals and
// match lengths coded with an adaptive Huffman tree, match positions with a fixed code for
// their upper 6 bits plus 6 plain bits.
//
// The byte callbacks are template parameters so the compiler inlines them: a run calls them
// once per input and per output byte, and an indirect call there would dominate the cost.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Errors.h"

namespace kt {

class ElzhException : public Exception {
public:
    using Exception::Exception;
};

inline constexpr const char* kLzhNoMemory = "LZH : Cannot get memory for dictionary tables";

namespace lzh {

inline constexpr int N = 4096;          // ring size
inline constexpr int F = 60;            // longest match
inline constexpr int THRESHOLD = 2;     // a match is at least THRESHOLD + 1 bytes
inline constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314 symbols
inline constexpr int T = N_CHAR * 2 - 1;            // 627 tree nodes
inline constexpr int R = T - 1;                     // root
inline constexpr unsigned MAX_FREQ = 0x8000;

// The adaptive Huffman tree shared by the decoder and our encoder: both sides must rebuild it
// at the same moments, so it lives in one place.
struct HuffTree {
    uint16_t freq[T + 1];
    int16_t prnt[T + N_CHAR];
    int16_t son[T];
    int reconstCount = 0;

    void Start();
    void Update(int symbol);
    void Reconst();
};

// The standard position tables, indexed by the first 8 bits read for a position: the upper
// 6 bits of the position, and how many bits (3..8) code them. Built from their rule: runs of
// consecutive byte values per code, longer runs for the nearer positions.
struct PositionTables {
    uint8_t code[256];
    uint8_t len[256];
    constexpr PositionTables() : code(), len() {
        struct Band { int codes, bytesPerCode, bits; };
        constexpr Band bands[] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5},
                                  {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
        int value = 0, upper = 0;
        for (const Band& b : bands)
            for (int c = 0; c < b.codes; ++c, ++upper)
                for (int k = 0; k < b.bytesPerCode; ++k, ++value) {
                    code[value] = static_cast<uint8_t>(upper);
                    len[value] = static_cast<uint8_t>(b.bits);
                }
    }
};
inline constexpr PositionTables kPositionTables{};
static_assert(kPositionTables.code[0x1F] == 0 && kPositionTables.code[0x20] == 1 &&
              kPositionTables.code[0x50] == 4 && kPositionTables.code[0x90] == 12 &&
              kPositionTables.code[0xC0] == 24 && kPositionTables.code[0xF0] == 48 &&
              kPositionTables.code[0xFF] == 63 && kPositionTables.len[0xEF] == 7 &&
              kPositionTables.len[0xFF] == 8);

}  // namespace lzh

// An in-memory input: what the codec's InStream stands for.
struct LzhInStream {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
};

class TLZH {
public:
    // Bound by the user before a stream run (UnpackStreams); not owned.
    LzhInStream* InStream = nullptr;
    std::vector<uint8_t>* OutStream = nullptr;

    // Decodes until at least textSize bytes went to put (a match in progress is completed, so
    // up to F - 1 more may follow). Shapes of the callbacks:
    //   get(uint8_t* buffer, uint16_t count, uint16_t& done)  done != 1: input exhausted
    //   put(const uint8_t* buffer, uint16_t count, uint16_t& done)
    // Exhausted input reads as zero bits; textSize <= 0 reads and writes nothing.
    template <class GetBytes, class PutBytes>
    void Unpack(int32_t textSize, GetBytes&& get, PutBytes&& put);

    // Unpack bound to InStream and OutStream through the codec's own callbacks.
    void UnpackStreams(int32_t textSize);

    // The codec's stream callbacks.
    void ReadFromInStream(uint8_t* buffer, uint16_t count, uint16_t& done) {
        LzhInStream& in = *InStream;
        size_t left = in.size - in.position;
        done = static_cast<uint16_t>(count < left ? count : left);
        for (uint16_t i = 0; i < done; ++i) buffer[i] = in.data[in.position + i];
        in.position += done;
    }
    void WriteToOutStream(const uint8_t* buffer, uint16_t count, uint16_t& done) {
        done = count;
        if (count == 1) OutStream->push_back(*buffer);  // the decoder's only case
        else OutStream->insert(OutStream->end(), buffer, buffer + count);
    }

    // How often the last run rebuilt its tree (the root count reached MAX_FREQ).
    int ReconstCount() const { return reconstCount_; }

private:
    struct Tables {
        uint8_t ring[lzh::N + lzh::F - 1];
        lzh::HuffTree tree;
    };
    // Raises ElzhException(kLzhNoMemory) when the tables cannot be had.
    static std::unique_ptr<Tables> AllocTables();

    int reconstCount_ = 0;
};

template <class GetBytes, class PutBytes>
void TLZH::Unpack(int32_t textSize, GetBytes&& get, PutBytes&& put) {
    using namespace lzh;
    const std::unique_ptr<Tables> tables = AllocTables();  // released also when a callback throws

    uint8_t* const ring = tables->ring;
    HuffTree& tree = tables->tree;
    tree.Start();
    for (int i = 0; i < N - F; ++i) ring[i] = ' ';
    // Positions N - F .. N - 1 are never read by a well-formed stream before they are
    // written; zero, as the classic decoder leaves them.
    for (int i = N - F; i < N + F - 1; ++i) ring[i] = 0;

    uint16_t bitBuf = 0;
    uint8_t bitCount = 0;
    auto refill = [&]() {
        while (bitCount <= 8) {
            uint8_t b = 0;
            uint16_t done = 0;
            get(&b, 1, done);
            if (done != 1) b = 0;
            bitBuf = static_cast<uint16_t>(bitBuf | (b << (8 - bitCount)));
            bitCount = static_cast<uint8_t>(bitCount + 8);
        }
    };
    auto getBit = [&]() -> unsigned {
        refill();
        unsigned bit = bitBuf >> 15;
        bitBuf = static_cast<uint16_t>(bitBuf << 1);
        --bitCount;
        return bit;
    };
    auto getByte = [&]() -> unsigned {
        refill();
        unsigned byte = bitBuf >> 8;
        bitBuf = static_cast<uint16_t>(bitBuf << 8);
        bitCount = static_cast<uint8_t>(bitCount - 8);
        return byte;
    };
    auto emit = [&](uint8_t b) {
        uint16_t done = 0;
        put(&b, 1, done);
    };

    unsigned r = N - F;
    int64_t count = 0;
    while (count < textSize) {
        int c = tree.son[R];
        while (c < T) c = tree.son[c + getBit()];
        c -= T;
        tree.Update(c);
        if (c < 256) {
            const uint8_t b = static_cast<uint8_t>(c);
            emit(b);
            ring[r] = b;
            r = (r + 1) & (N - 1);
            ++count;
        } else {
            unsigned i = getByte();
            const unsigned upper = static_cast<unsigned>(kPositionTables.code[i]) << 6;
            for (int j = kPositionTables.len[i] - 2; j > 0; --j) i = ((i << 1) + getBit()) & 0xFFFF;
            const unsigned p = upper | (i & 0x3F);
            const unsigned start = (r - p - 1) & (N - 1);
            const int length = c - 255 + THRESHOLD;
            for (int k = 0; k < length; ++k) {
                const uint8_t b = ring[(start + k) & (N - 1)];
                emit(b);
                ring[r] = b;
                r = (r + 1) & (N - 1);
            }
            count += length;
        }
    }
    reconstCount_ = tree.reconstCount;
}

}  // namespace kt
