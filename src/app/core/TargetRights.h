// Windows drops the key strokes a program injects into a window of a program that runs with
// more rights (a higher integrity level), without telling the sender: SendInput reports
// success. So the rights are compared before anything is sent.
#pragma once
#include <cstdint>
#include <optional>

namespace kt {

// Integrity levels as the system numbers them (the last sub-authority of the level's SID).
enum : std::uint32_t {
    kIntegrityLow = 0x1000,
    kIntegrityMedium = 0x2000,
    kIntegrityHigh = 0x3000,
    kIntegritySystem = 0x4000,
};

// The integrity levels of the program and of the target's process, as the system tells
// them; nullopt when the system does not say.
class ProcessRights {
public:
    virtual ~ProcessRights() = default;
    // nullopt: the system has no integrity levels (before Vista), so nothing is compared.
    virtual std::optional<std::uint32_t> OwnLevel() const = 0;
    // nullopt: the target's process cannot be opened to ask (a process of another user opens
    // no more than one of higher rights), so its level is unknown.
    virtual std::optional<std::uint32_t> TargetLevel() const = 0;
};

// True when the target is known to run with more rights than the program, so its window would
// silently drop the program's key strokes. A level that cannot be read refuses nothing: the
// typing goes ahead, and a burst the system takes only in part is reported.
bool TargetRunsHigher(const ProcessRights& rights);

}  // namespace kt
