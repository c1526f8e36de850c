#include "core/DpiScale.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kt {

int MulDivRound(int value, int numerator, int denominator) {
    if (denominator == 0) return 0;
    std::int64_t n = std::int64_t(value) * numerator;
    std::int64_t d = denominator;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const std::int64_t q = n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d);
    if (q > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (q < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return int(q);
}

int FontHeightForPoints(int points, int pixelsPerInch) {
    return -MulDivRound(points, SanePixelsPerInch(pixelsPerInch), 72);
}

int FontPointsForHeight(int height, int pixelsPerInch) {
    return -MulDivRound(height, 72, SanePixelsPerInch(pixelsPerInch));
}

TScaledSpan ScaleSpan(int size, int lead, int tail, int pixelsPerInch) {
    if (size <= 0) return {0, ScaleToDpi(lead, pixelsPerInch), ScaleToDpi(tail, pixelsPerInch)};
    const int to = std::max(1, ScaleToDpi(size, pixelsPerInch));
    lead = std::clamp(lead, 0, size);
    tail = std::clamp(tail, 0, size - lead);
    const int a = std::min(to, MulDivRound(lead, to, size));
    // Both margins rounded up could pass the side (4 px with 2 + 2 at 125 %: 5 px, not 3 + 3).
    const int b = std::min(to - a, MulDivRound(tail, to, size));
    return {to, a, b};
}

int SanePixelsPerInch(int pixelsPerInch) {
    // Windows offers 96 to 480 (500 %); a little room either way.
    return pixelsPerInch >= 48 && pixelsPerInch <= 960 ? pixelsPerInch : kDesignPixelsPerInch;
}

bool IsWholeScale(int pixelsPerInch) {
    return pixelsPerInch > 0 && pixelsPerInch % kDesignPixelsPerInch == 0;
}

}  // namespace kt
