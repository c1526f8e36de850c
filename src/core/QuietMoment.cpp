#include "core/QuietMoment.h"

namespace kt {

long long QuietMoment::Change(std::uint64_t nowMs) {
    if (!pending_) {
        pending_ = true;
        first_ = nowMs;
        return quiet_;
    }
    const std::uint64_t waited = nowMs >= first_ ? nowMs - first_ : 0;
    if (waited >= longest_) return -1;  // already due: the armed timer fires at once or soon
    const std::uint64_t left = longest_ - waited;
    return static_cast<long long>(left < quiet_ ? left : quiet_);
}

}  // namespace kt
