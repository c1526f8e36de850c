// When to act on a burst of changes: a quiet moment after the last one, but never later than
// a longest wait after the first one not yet acted on. A file that another program rewrites
// every few milliseconds (a log, a sync client's temporary file) would otherwise put off
// acting on every other change for as long as it goes on.
#pragma once
#include <cstdint>

namespace kt {

class QuietMoment {
public:
    QuietMoment(unsigned quietMs, unsigned longestMs) : quiet_(quietMs), longest_(longestMs) {}

    // A change at `nowMs`: the delay to (re)arm the timer with, or -1 to leave it as armed.
    long long Change(std::uint64_t nowMs);
    // The timer fired (or the caller acted otherwise): the next change starts a new burst.
    void Acted() { pending_ = false; }
    bool Pending() const { return pending_; }

private:
    unsigned quiet_, longest_;
    bool pending_ = false;
    std::uint64_t first_ = 0;
};

}  // namespace kt
