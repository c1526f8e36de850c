#include "app/core/TargetRights.h"

namespace kt {

bool TargetRunsHigher(const ProcessRights& rights) {
    const std::optional<std::uint32_t> own = rights.OwnLevel();
    if (!own) return false;
    const std::optional<std::uint32_t> target = rights.TargetLevel();
    return target && *target > *own;
}

}  // namespace kt
