#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "SampleData.h"
#include "skin/data/LzhCodec.h"
#include "skin/data/LzhEncoder.h"

namespace {

using kt::TLZH;

// The classic LZHUF decoder written out on its own, tables and tree code included, as the
// reference our decoder must match byte for byte (including the tree rebuilds).
class ClassicDecoder {
public:
    std::vector<uint8_t> Decode(const std::vector<uint8_t>& in, long textsize) {
        input_ = &in;
        pos_ = 0;
        getbuf_ = 0;
        getlen_ = 0;
        rebuilds = 0;
        std::vector<uint8_t> out;
        if (textsize <= 0) return out;
        StartHuff();
        unsigned char text_buf[N + F - 1] = {};
        for (int i = 0; i < N - F; i++) text_buf[i] = ' ';
        int r = N - F;
        for (long count = 0; count < textsize;) {
            int c = DecodeChar();
            if (c < 256) {
                out.push_back(static_cast<uint8_t>(c));
                text_buf[r++] = static_cast<unsigned char>(c);
                r &= (N - 1);
                count++;
            } else {
                int i = (r - DecodePosition() - 1) & (N - 1);
                int j = c - 255 + THRESHOLD;
                for (int k = 0; k < j; k++) {
                    c = text_buf[(i + k) & (N - 1)];
                    out.push_back(static_cast<uint8_t>(c));
                    text_buf[r++] = static_cast<unsigned char>(c);
                    r &= (N - 1);
                    count++;
                }
            }
        }
        return out;
    }
    int rebuilds = 0;

private:
    static constexpr int N = 4096, F = 60, THRESHOLD = 2, N_CHAR = 256 - THRESHOLD + F,
                         T = N_CHAR * 2 - 1, R = T - 1, MAX_FREQ = 0x8000;
    static constexpr unsigned char d_code[256] = {
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
        0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02,
        0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
        0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
        0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
        0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09,
        0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B,
        0x0C, 0x0C, 0x0C, 0x0C, 0x0D, 0x0D, 0x0D, 0x0D, 0x0E, 0x0E, 0x0E, 0x0E, 0x0F, 0x0F, 0x0F, 0x0F,
        0x10, 0x10, 0x10, 0x10, 0x11, 0x11, 0x11, 0x11, 0x12, 0x12, 0x12, 0x12, 0x13, 0x13, 0x13, 0x13,
        0x14, 0x14, 0x14, 0x14, 0x15, 0x15, 0x15, 0x15, 0x16, 0x16, 0x16, 0x16, 0x17, 0x17, 0x17, 0x17,
        0x18, 0x18, 0x19, 0x19, 0x1A, 0x1A, 0x1B, 0x1B, 0x1C, 0x1C, 0x1D, 0x1D, 0x1E, 0x1E, 0x1F, 0x1F,
        0x20, 0x20, 0x21, 0x21, 0x22, 0x22, 0x23, 0x23, 0x24, 0x24, 0x25, 0x25, 0x26, 0x26, 0x27, 0x27,
        0x28, 0x28, 0x29, 0x29, 0x2A, 0x2A, 0x2B, 0x2B, 0x2C, 0x2C, 0x2D, 0x2D, 0x2E, 0x2E, 0x2F, 0x2F,
        0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,
    };
    static constexpr unsigned char d_len[256] = {
        0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
        0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
        0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04,
        0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04,
        0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04,
        0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
        0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
        0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
        0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
        0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
        0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
        0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
        0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
        0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
        0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
        0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08,
    };

    unsigned freq[T + 1];
    int prnt[T + N_CHAR];
    int son[T];
    const std::vector<uint8_t>* input_ = nullptr;
    size_t pos_ = 0;
    unsigned getbuf_ = 0;
    unsigned char getlen_ = 0;

    int getc() { return pos_ < input_->size() ? (*input_)[pos_++] : -1; }
    int GetBit() {
        int i;
        while (getlen_ <= 8) {
            if ((i = getc()) < 0) i = 0;
            getbuf_ |= static_cast<unsigned>(i) << (8 - getlen_);
            getlen_ += 8;
        }
        i = static_cast<int>(getbuf_ & 0xFFFF);
        getbuf_ = (getbuf_ << 1) & 0xFFFF;
        getlen_--;
        return (i & 0x8000) != 0;
    }
    int GetByte() {
        int i;
        while (getlen_ <= 8) {
            if ((i = getc()) < 0) i = 0;
            getbuf_ |= static_cast<unsigned>(i) << (8 - getlen_);
            getlen_ += 8;
        }
        i = static_cast<int>(getbuf_ & 0xFFFF);
        getbuf_ = (getbuf_ << 8) & 0xFFFF;
        getlen_ -= 8;
        return i >> 8;
    }
    void StartHuff() {
        int i, j;
        for (i = 0; i < N_CHAR; i++) {
            freq[i] = 1;
            son[i] = i + T;
            prnt[i + T] = i;
        }
        i = 0;
        j = N_CHAR;
        while (j <= R) {
            freq[j] = freq[i] + freq[i + 1];
            son[j] = i;
            prnt[i] = prnt[i + 1] = j;
            i += 2;
            j++;
        }
        freq[T] = 0xffff;
        prnt[R] = 0;
    }
    void reconst() {
        rebuilds++;
        int i, j, k;
        unsigned f, l;
        j = 0;
        for (i = 0; i < T; i++) {
            if (son[i] >= T) {
                freq[j] = (freq[i] + 1) / 2;
                son[j] = son[i];
                j++;
            }
        }
        for (i = 0, j = N_CHAR; j < T; i += 2, j++) {
            k = i + 1;
            f = freq[j] = freq[i] + freq[k];
            for (k = j - 1; f < freq[k]; k--) {}
            k++;
            l = static_cast<unsigned>(j - k);
            std::memmove(&freq[k + 1], &freq[k], l * sizeof freq[0]);
            freq[k] = f;
            std::memmove(&son[k + 1], &son[k], l * sizeof son[0]);
            son[k] = i;
        }
        for (i = 0; i < T; i++) {
            if ((k = son[i]) >= T) {
                prnt[k] = i;
            } else {
                prnt[k] = prnt[k + 1] = i;
            }
        }
    }
    void update(int c) {
        int i, j, l;
        unsigned k;
        if (freq[R] == MAX_FREQ) reconst();
        c = prnt[c + T];
        do {
            k = ++freq[c];
            if (k > freq[l = c + 1]) {
                while (k > freq[++l]) {}
                l--;
                freq[c] = freq[l];
                freq[l] = k;
                i = son[c];
                prnt[i] = l;
                if (i < T) prnt[i + 1] = l;
                j = son[l];
                son[l] = i;
                prnt[j] = c;
                if (j < T) prnt[j + 1] = c;
                son[c] = j;
                c = l;
            }
        } while ((c = prnt[c]) != 0);
    }
    int DecodeChar() {
        unsigned c = static_cast<unsigned>(son[R]);
        while (c < T) {
            c += static_cast<unsigned>(GetBit());
            c = static_cast<unsigned>(son[c]);
        }
        c -= T;
        update(static_cast<int>(c));
        return static_cast<int>(c);
    }
    int DecodePosition() {
        unsigned i, j, c;
        i = static_cast<unsigned>(GetByte());
        c = static_cast<unsigned>(d_code[i]) << 6;
        j = d_len[i];
        j -= 2;
        while (j--) i = (i << 1) + static_cast<unsigned>(GetBit());
        return static_cast<int>(c | (i & 0x3f));
    }
};

struct Decoded {
    std::vector<uint8_t> out;
    size_t reads = 0, writes = 0;
    bool countAlwaysOne = true;
    int reconsts = 0;
};

Decoded Unpack(const std::vector<uint8_t>& stream, int32_t textSize) {
    Decoded run;
    size_t pos = 0;
    TLZH codec;
    codec.Unpack(
        textSize,
        [&](uint8_t* buf, uint16_t count, uint16_t& done) {
            ++run.reads;
            run.countAlwaysOne &= count == 1;
            done = 0;
            if (pos < stream.size()) {
                *buf = stream[pos++];
                done = 1;
            }
        },
        [&](const uint8_t* buf, uint16_t count, uint16_t& done) {
            ++run.writes;
            run.countAlwaysOne &= count == 1;
            run.out.push_back(*buf);
            done = count;
        });
    run.reconsts = codec.ReconstCount();
    return run;
}

std::vector<uint8_t> Encode(const std::vector<uint8_t>& data, int* reconsts = nullptr) {
    std::vector<uint8_t> stream;
    kt::LzhEncode(data, stream, reconsts);
    return stream;
}

void ExpectRoundTrip(const std::vector<uint8_t>& data) {
    int encoderRebuilds = 0;
    const auto stream = Encode(data, &encoderRebuilds);
    const Decoded run = Unpack(stream, static_cast<int32_t>(data.size()));
    ASSERT_GE(run.out.size(), data.size());
    ASSERT_LE(run.out.size(), data.size() + 59);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), run.out.begin()));
    EXPECT_TRUE(run.countAlwaysOne);
    EXPECT_EQ(run.reconsts, encoderRebuilds);

    ClassicDecoder classic;
    EXPECT_EQ(classic.Decode(stream, static_cast<long>(data.size())), run.out);
    EXPECT_EQ(classic.rebuilds, run.reconsts);
}

TEST(LzhCodec, RoundTripEmpty) {
    EXPECT_TRUE(Encode({}).empty());
    const Decoded run = Unpack({}, 0);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(run.reads, 0u);
}

TEST(LzhCodec, NonPositiveSizeReadsAndWritesNothing) {
    const std::vector<uint8_t> stream = {0xFF, 0x00, 0x12};
    for (int32_t size : {0, -1, INT32_MIN}) {
        const Decoded run = Unpack(stream, size);
        EXPECT_EQ(run.reads, 0u);
        EXPECT_EQ(run.writes, 0u);
    }
}

TEST(LzhCodec, RoundTripSmallAndAroundTheRingSize) {
    for (size_t size : {1u, 2u, 3u, 59u, 60u, 61u, 4035u, 4036u, 4037u, 4095u, 4096u, 4097u,
                        8192u}) {
        SCOPED_TRACE(size);
        ExpectRoundTrip(kt::sample::TextLike(size, static_cast<uint32_t>(size)));
        ExpectRoundTrip(kt::sample::Random(size, static_cast<uint32_t>(size)));
    }
}

TEST(LzhCodec, RoundTripOneMebibyteTextAcrossTreeRebuilds) {
    const auto data = kt::sample::TextLike(1 << 20);
    int rebuilds = 0;
    Encode(data, &rebuilds);
    EXPECT_GE(rebuilds, 5);  // the tree is rebuilt several times on the way
    ExpectRoundTrip(data);
}

TEST(LzhCodec, RoundTripOneMebibyteRandom) { ExpectRoundTrip(kt::sample::Random(1 << 20)); }

TEST(LzhCodec, RoundTripLongRunsAndPeriodicData) {
    std::vector<uint8_t> data(100000, 'x');
    ExpectRoundTrip(data);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i % 4099);
    ExpectRoundTrip(data);
    std::vector<uint8_t> zeros(70000, 0);
    ExpectRoundTrip(zeros);
}

TEST(LzhCodec, FirstSymbolMatchCopiesPresetSpaces) {
    kt::LzhSymbolWriter w;
    w.Match(10, 200);  // well inside the space-filled part of the ring
    w.Literal('x');
    const Decoded run = Unpack(w.Finish(), 11);
    EXPECT_EQ(std::string(run.out.begin(), run.out.end()), std::string(10, ' ') + "x");

    // Our encoder starts leading spaces with a match too.
    std::vector<uint8_t> data(80, ' ');
    data.push_back('!');
    ExpectRoundTrip(data);
}

TEST(LzhCodec, MatchCrossingTheSizeIsCompleted) {
    kt::LzhSymbolWriter w;
    w.Literal('a');
    w.Match(60, 0);  // 60 copies of the byte before, overlapping its own output
    const Decoded run = Unpack(w.Finish(), 2);
    EXPECT_EQ(run.out, std::vector<uint8_t>(61, 'a'));
}

TEST(LzhCodec, TruncatedStreamDecodesZeroBitsWithoutError) {
    const auto data = kt::sample::TextLike(20000);
    auto stream = Encode(data);
    stream.resize(stream.size() / 2);
    const Decoded cut = Unpack(stream, 20000);
    ASSERT_GE(cut.out.size(), 20000u);
    // The complete half decodes as before...
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 5000, cut.out.begin()));
    // ...and the missing input reads exactly as zero bytes would.
    auto padded = stream;
    padded.resize(padded.size() + 200000, 0);
    EXPECT_EQ(Unpack(padded, 20000).out, cut.out);
    ClassicDecoder classic;
    EXPECT_EQ(classic.Decode(stream, 20000), cut.out);
}

TEST(LzhCodec, GarbageMatchesTheClassicDecoder) {
    // Any bit stream walks the tree and the masked ring only; the result is the reference's.
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        const auto stream = kt::sample::Random(3000, seed);
        ClassicDecoder classic;
        EXPECT_EQ(Unpack(stream, 50000).out, classic.Decode(stream, 50000));
    }
    // Long enough for evenly spread symbols to rebuild the tree several times.
    const auto stream = kt::sample::Random(60000, 99);
    ClassicDecoder classic;
    const Decoded ours = Unpack(stream, 1000000);
    EXPECT_EQ(ours.out, classic.Decode(stream, 1000000));
    EXPECT_GE(classic.rebuilds, 2);
    EXPECT_EQ(ours.reconsts, classic.rebuilds);
}

TEST(LzhCodec, CallbackExceptionPropagates) {
    const auto stream = Encode(kt::sample::TextLike(1000));
    TLZH codec;
    size_t pos = 0, written = 0;
    EXPECT_THROW(codec.Unpack(
                     1000,
                     [&](uint8_t* b, uint16_t, uint16_t& done) {
                         done = pos < stream.size() ? 1 : 0;
                         if (done) *b = stream[pos++];
                     },
                     [&](const uint8_t*, uint16_t, uint16_t&) {
                         if (++written == 100) throw std::runtime_error("disk full");
                     }),
                 std::runtime_error);
}

TEST(LzhCodec, StreamCallbacksBindInAndOutStreams) {
    const auto data = kt::sample::TextLike(5000);
    const auto stream = Encode(data);
    kt::LzhInStream in{stream.data(), stream.size(), 0};
    std::vector<uint8_t> out;
    TLZH codec;
    codec.InStream = &in;
    codec.OutStream = &out;
    codec.UnpackStreams(5000);
    out.resize(5000);
    EXPECT_EQ(out, data);

    uint8_t buf[4];
    uint16_t done = 0;
    in.position = in.size - 2;
    codec.ReadFromInStream(buf, 4, done);
    EXPECT_EQ(done, 2);
    EXPECT_EQ(in.position, in.size);
    codec.ReadFromInStream(buf, 1, done);
    EXPECT_EQ(done, 0);
}

TEST(LzhCodec, PackedContainerStartsWithItsSize) {
    const auto data = kt::sample::TextLike(300);
    const auto container = kt::LzhPackContainer(data);
    ASSERT_GE(container.size(), 4u);
    EXPECT_EQ(container[0] | container[1] << 8 | container[2] << 16 | container[3] << 24, 300);
    EXPECT_EQ(std::vector<uint8_t>(container.begin() + 4, container.end()), Encode(data));
}

}  // namespace
