#include "core/WindowFit.h"

#include <algorithm>
#include <cstdint>

namespace kt {

namespace {

// Puts [at, at + size) inside [from, from + room), size <= room; 64-bit, as stored positions
// may be anything.
int Inside(int at, int size, int from, int room) {
    const std::int64_t last = std::int64_t(from) + room - size;
    return int(std::clamp<std::int64_t>(at, from, std::max<std::int64_t>(from, last)));
}

}  // namespace

TBounds FitInWorkArea(const TBounds& w, const TBounds& work) {
    const int width = std::clamp(w.Width, 0, std::max(work.Width, 0));
    const int height = std::clamp(w.Height, 0, std::max(work.Height, 0));
    return {Inside(w.Left, width, work.Left, work.Width), Inside(w.Top, height, work.Top, work.Height), width, height};
}

TBounds CentreInWorkArea(int width, int height, const TBounds& work) {
    const TBounds fit = FitInWorkArea({0, 0, width, height}, work);
    return {work.Left + (work.Width - fit.Width) / 2, work.Top + (work.Height - fit.Height) / 2, fit.Width,
            fit.Height};
}

}  // namespace kt
