// Unpack throughput (MB of output per second) for a 1 MiB text-like skin container, side by
// side with zlib's inflate of the same content in the same run. Build without sanitizers
// for meaningful figures.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "SampleData.h"
#include "skin/data/LzhCodec.h"
#include "skin/data/LzhEncoder.h"

namespace {

using Clock = std::chrono::steady_clock;

// Best of several rounds: the machine is shared, the fastest round is the least disturbed.
template <class F>
double BestSeconds(int rounds, int reps, F&& run) {
    double best = 1e30;
    for (int r = 0; r < rounds; ++r) {
        const auto t0 = Clock::now();
        for (int i = 0; i < reps; ++i) run();
        const double s = std::chrono::duration<double>(Clock::now() - t0).count() / reps;
        best = std::min(best, s);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const size_t size = 1 << 20;
    const std::vector<uint8_t> content = kt::sample::TextLike(size);

    std::vector<uint8_t> stream;
    kt::LzhEncode(content, stream);
    uLongf zlen = compressBound(size);
    std::vector<uint8_t> zdata(zlen);
    if (compress2(zdata.data(), &zlen, content.data(), size, Z_BEST_COMPRESSION) != Z_OK) return 1;
    zdata.resize(zlen);

    std::vector<uint8_t> lzhOut, zOut(size);
    const double lzh = BestSeconds(rounds, 3, [&] {
        lzhOut.clear();
        lzhOut.reserve(size + kt::lzh::F);
        kt::LzhInStream in{stream.data(), stream.size(), 0};
        kt::TLZH codec;
        codec.InStream = &in;
        codec.OutStream = &lzhOut;
        codec.UnpackStreams(static_cast<int32_t>(size));
    });
    const double zlib = BestSeconds(rounds, 3, [&] {
        uLongf outLen = size;
        if (uncompress(zOut.data(), &outLen, zdata.data(), zdata.size()) != Z_OK || outLen != size)
            std::abort();
    });
    lzhOut.resize(size);
    if (lzhOut != content || zOut != content) {
        std::fprintf(stderr, "bench_lzh: decoded content differs\n");
        return 1;
    }

    const double mb = size / 1e6;
    std::printf("content: 1 MiB text-like; LZHUF %zu bytes, zlib -9 %lu bytes\n", stream.size(),
                static_cast<unsigned long>(zlen));
    std::printf("Unpack       %8.1f MB/s\n", mb / lzh);
    std::printf("zlib inflate %8.1f MB/s\n", mb / zlib);
    std::printf("ratio inflate/Unpack: %.2f (Unpack runs at %.0f%% of inflate's speed)\n", lzh / zlib,
                100.0 * zlib / lzh);
    return 0;
}
