#include "skin/data/LzhEncoder.h"

#include "skin/data/LzhCodec.h"

#include <stdexcept>

namespace kt {

using namespace lzh;

namespace {

// For each upper 6 bits of a position: the first byte value the decoder maps to it, whose top
// bits are the code.
struct PositionCodes {
    uint8_t firstByte[64];
    uint8_t bits[64];
    constexpr PositionCodes() : firstByte(), bits() {
        for (int v = 255; v >= 0; --v) {
            firstByte[kPositionTables.code[v]] = static_cast<uint8_t>(v);
            bits[kPositionTables.code[v]] = kPositionTables.len[v];
        }
    }
};
constexpr PositionCodes kPositionCodes{};

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
    // Appends the low n bits of value (n <= 24), most significant first.
    void Put(unsigned n, uint32_t value) {
        acc_ = (acc_ << n) | (value & ((1u << n) - 1));
        count_ += n;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<uint8_t>(acc_ >> count_));
        }
        acc_ &= (1u << count_) - 1;
    }
    void Flush() {
        if (count_ > 0) out_.push_back(static_cast<uint8_t>(acc_ << (8 - count_)));
        acc_ = 0;
        count_ = 0;
    }

private:
    std::vector<uint8_t>& out_;
    uint32_t acc_ = 0;
    unsigned count_ = 0;
};

class SymbolCoder {
public:
    explicit SymbolCoder(std::vector<uint8_t>& out) : bits_(out) { tree_.Start(); }

    void Char(int symbol) {
        // The path is known leaf to root; the decoder reads it root to leaf. A sibling pair
        // sits at an even and the next odd index, the odd one being the 1 branch.
        uint8_t path[T];
        int depth = 0;
        for (int k = tree_.prnt[symbol + T]; k != R; k = tree_.prnt[k]) path[depth++] = k & 1;
        while (depth > 0) bits_.Put(1, path[--depth]);
        tree_.Update(symbol);
    }
    void Position(unsigned p) {
        const unsigned upper = p >> 6;
        const unsigned n = kPositionCodes.bits[upper];
        bits_.Put(n, kPositionCodes.firstByte[upper] >> (8 - n));
        bits_.Put(6, p & 0x3F);
    }
    void Finish() { bits_.Flush(); }
    int ReconstCount() const { return tree_.reconstCount; }

private:
    BitWriter bits_;
    HuffTree tree_;
};

// The classic binary-tree match finder: one tree per first byte, nodes are ring positions.
class MatchFinder {
public:
    static constexpr int NIL = N;
    uint8_t text[N + F - 1] = {};
    int matchPosition = 0, matchLength = 0;

    MatchFinder() {
        for (int i = N + 1; i <= N + 256; ++i) rson_[i] = NIL;
        for (int i = 0; i < N; ++i) dad_[i] = NIL;
    }

    void Insert(int r) {
        int cmp = 1;
        const uint8_t* key = &text[r];
        int p = N + 1 + key[0];
        rson_[r] = lson_[r] = NIL;
        matchLength = 0;
        for (;;) {
            if (cmp >= 0) {
                if (rson_[p] != NIL) {
                    p = rson_[p];
                } else {
                    rson_[p] = r;
                    dad_[r] = p;
                    return;
                }
            } else {
                if (lson_[p] != NIL) {
                    p = lson_[p];
                } else {
                    lson_[p] = r;
                    dad_[r] = p;
                    return;
                }
            }
            int i = 1;
            for (; i < F; ++i)
                if ((cmp = key[i] - text[p + i]) != 0) break;
            if (i > THRESHOLD) {
                const int distance = ((r - p) & (N - 1)) - 1;
                if (i > matchLength) {
                    matchPosition = distance;
                    if ((matchLength = i) >= F) break;
                } else if (i == matchLength && distance < matchPosition) {
                    matchPosition = distance;
                }
            }
        }
        // A full-length match: r takes p's place in the tree.
        dad_[r] = dad_[p];
        lson_[r] = lson_[p];
        rson_[r] = rson_[p];
        dad_[lson_[p]] = r;
        dad_[rson_[p]] = r;
        if (rson_[dad_[p]] == p) rson_[dad_[p]] = r;
        else lson_[dad_[p]] = r;
        dad_[p] = NIL;
    }

    void Delete(int p) {
        if (dad_[p] == NIL) return;
        int q;
        if (rson_[p] == NIL) {
            q = lson_[p];
        } else if (lson_[p] == NIL) {
            q = rson_[p];
        } else {
            q = lson_[p];
            if (rson_[q] != NIL) {
                do { q = rson_[q]; } while (rson_[q] != NIL);
                rson_[dad_[q]] = lson_[q];
                dad_[lson_[q]] = dad_[q];
                lson_[q] = lson_[p];
                dad_[lson_[p]] = q;
            }
            rson_[q] = rson_[p];
            dad_[rson_[p]] = q;
        }
        dad_[q] = dad_[p];
        if (rson_[dad_[p]] == p) rson_[dad_[p]] = q;
        else lson_[dad_[p]] = q;
        dad_[p] = NIL;
    }

private:
    int lson_[N + 1] = {};
    int rson_[N + 257] = {};
    int dad_[N + 1] = {};
};

}  // namespace

void LzhEncode(std::span<const uint8_t> data, std::vector<uint8_t>& out, int* reconstCount) {
    if (reconstCount) *reconstCount = 0;
    if (data.empty()) return;
    auto finder = std::make_unique<MatchFinder>();  // about 50 KB: not for the stack
    uint8_t* const text = finder->text;
    SymbolCoder coder(out);
    size_t next = 0;
    auto more = [&](uint8_t& c) {
        if (next >= data.size()) return false;
        c = data[next++];
        return true;
    };

    int s = 0, r = N - F;
    for (int i = s; i < r; ++i) text[i] = ' ';
    int len = 0;
    for (uint8_t c; len < F && more(c); ++len) text[r + len] = c;
    for (int i = 1; i <= F; ++i) finder->Insert(r - i);
    finder->Insert(r);
    do {
        if (finder->matchLength > len) finder->matchLength = len;
        if (finder->matchLength <= THRESHOLD) {
            finder->matchLength = 1;
            coder.Char(text[r]);
        } else {
            coder.Char(255 - THRESHOLD + finder->matchLength);
            coder.Position(static_cast<unsigned>(finder->matchPosition));
        }
        const int lastMatchLength = finder->matchLength;
        int i = 0;
        for (uint8_t c; i < lastMatchLength && more(c); ++i) {
            finder->Delete(s);
            text[s] = c;
            if (s < F - 1) text[s + N] = c;  // mirror so comparisons run past the ring end
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            finder->Insert(r);
        }
        while (i++ < lastMatchLength) {
            finder->Delete(s);
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            if (--len) finder->Insert(r);
        }
    } while (len > 0);
    coder.Finish();
    if (reconstCount) *reconstCount = coder.ReconstCount();
}

std::vector<uint8_t> LzhPackContainer(std::span<const uint8_t> data) {
    const uint32_t size = static_cast<uint32_t>(data.size());
    std::vector<uint8_t> out = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                                static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
    LzhEncode(data, out);
    return out;
}

struct LzhSymbolWriter::Impl {
    std::vector<uint8_t> out;
    SymbolCoder coder{out};
};

LzhSymbolWriter::LzhSymbolWriter() : impl_(std::make_unique<Impl>()) {}
LzhSymbolWriter::~LzhSymbolWriter() = default;

void LzhSymbolWriter::Literal(uint8_t byte) { impl_->coder.Char(byte); }

void LzhSymbolWriter::Match(int length, unsigned distance) {
    if (length <= THRESHOLD || length > F) throw std::out_of_range("LZH match length");
    impl_->coder.Char(255 - THRESHOLD + length);
    impl_->coder.Position(distance & (N - 1));
}

std::vector<uint8_t> LzhSymbolWriter::Finish() {
    impl_->coder.Finish();
    return std::move(impl_->out);
}

int LzhSymbolWriter::ReconstCount() const { return impl_->coder.ReconstCount(); }

}  // namespace kt
