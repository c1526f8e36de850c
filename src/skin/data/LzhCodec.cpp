#include "skin/data/LzhCodec.h"

#include <new>

namespace kt {
namespace lzh {

void HuffTree::Start() {
    for (int i = 0; i < N_CHAR; ++i) {
        freq[i] = 1;
        son[i] = static_cast<int16_t>(i + T);
        prnt[i + T] = static_cast<int16_t>(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
        freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
        son[j] = static_cast<int16_t>(i);
        prnt[i] = prnt[i + 1] = static_cast<int16_t>(j);
    }
    freq[T] = 0xFFFF;
    prnt[R] = 0;
    reconstCount = 0;
}

void HuffTree::Reconst() {
    ++reconstCount;
    int j = 0;
    for (int i = 0; i < T; ++i) {
        if (son[i] >= T) {
            freq[j] = static_cast<uint16_t>((freq[i] + 1) >> 1);
            son[j] = son[i];
            ++j;
        }
    }
    for (int i = 0, k, jj = N_CHAR; jj < T; i += 2, ++jj) {
        const unsigned f = static_cast<unsigned>(freq[i]) + freq[i + 1];
        for (k = jj - 1; f < freq[k]; --k) {}
        ++k;
        for (int m = jj; m > k; --m) {
            freq[m] = freq[m - 1];
            son[m] = son[m - 1];
        }
        freq[k] = static_cast<uint16_t>(f);
        son[k] = static_cast<int16_t>(i);
    }
    for (int k = 0; k < T; ++k) {
        const int s = son[k];
        if (s >= T) {
            prnt[s] = static_cast<int16_t>(k);
        } else {
            prnt[s] = prnt[s + 1] = static_cast<int16_t>(k);
        }
    }
}

void HuffTree::Update(int symbol) {
    if (freq[R] == MAX_FREQ) Reconst();
    int n = prnt[symbol + T];
    do {
        const unsigned k = ++freq[n];
        if (k > freq[n + 1]) {
            // The counts stay in ascending node order, so the last node still below k (the
            // one n trades places with) is found by halving rather than by walking a run of
            // equal counts, which spans most of the table on evenly spread input. The
            // sentinel freq[T] is above any count.
            int l = n + 1, above = T;
            while (above - l > 1) {
                const int mid = (l + above) / 2;
                if (freq[mid] < k) l = mid;
                else above = mid;
            }
            freq[n] = freq[l];
            freq[l] = static_cast<uint16_t>(k);
            const int i = son[n];
            prnt[i] = static_cast<int16_t>(l);
            if (i < T) prnt[i + 1] = static_cast<int16_t>(l);
            const int j = son[l];
            son[l] = static_cast<int16_t>(i);
            prnt[j] = static_cast<int16_t>(n);
            if (j < T) prnt[j + 1] = static_cast<int16_t>(n);
            son[n] = static_cast<int16_t>(j);
            n = l;
        }
    } while ((n = prnt[n]) != 0);
}

}  // namespace lzh

std::unique_ptr<TLZH::Tables> TLZH::AllocTables() {
    std::unique_ptr<Tables> tables(new (std::nothrow) Tables);
    if (!tables) throw ElzhException(kLzhNoMemory);
    return tables;
}

void TLZH::UnpackStreams(int32_t textSize) {
    Unpack(
        textSize,
        [this](uint8_t* b, uint16_t c, uint16_t& d) { ReadFromInStream(b, c, d); },
        [this](const uint8_t* b, uint16_t c, uint16_t& d) { WriteToOutStream(b, c, d); });
}

}  // namespace kt
